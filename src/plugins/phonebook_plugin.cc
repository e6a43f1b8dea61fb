#include "plugins/phonebook_plugin.h"

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

using ApiRequest = vantaapi::PhonebookSearchRequest;
using ApiResponse = vantaapi::PhonebookSearchResponse;
using ApiEntry = vantaapi::PhonebookEntry;
using ApiNumber = vantaapi::PhoneNumber;

// Both sides number every enumeration of the search alike; a number the
// receiving side does not know becomes its first value.
template <typename To>
To same_number(int value, bool (*is_valid)(int), To fallback) {
    return is_valid(value) ? static_cast<To>(value) : fallback;
}

phonebook::SearchRequest to_backend_request(const ApiRequest& from) {
    using Backend = phonebook::SearchRequest;
    Backend to;
    to.set_query(from.query());
    to.set_offset(from.offset());
    to.set_max_results(from.max_results());
    to.set_directory(same_number(from.directory(), Backend::Directory_IsValid, Backend::ALL));
    to.set_filter(same_number(from.filter(), Backend::Filter_IsValid, Backend::NO_FILTER));
    return to;
}

void copy_entry(const phonebook::PhonebookEntry& from, ApiEntry& to) {
    to.set_uuid(from.uuid());
    to.set_display_name(from.display_name());
    to.set_email(from.email());
    to.set_sip_uri(from.sip_uri());
    to.set_avatar_uri(from.avatar_uri());
    to.set_favorite(from.favorite());
    to.set_type(same_number(from.type(), ApiEntry::Type_IsValid, ApiEntry::PERSON));
    for (const phonebook::PhoneNumber& number : from.phone_numbers()) {
        ApiNumber& copy = *to.add_phone_numbers();
        copy.set_type(same_number(number.type(), ApiNumber::Type_IsValid, ApiNumber::UNKNOWN));
        copy.set_value(number.value());
    }
}

}  // namespace

PhonebookPlugin::PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>&, PluginRegistrar&,
                                 const Endpoint& phonebook)
    : client_(phonebook::create_client(phonebook)) {}

grpc::Status PhonebookPlugin::search(grpc::ServerContext*, const ApiRequest* request,
                                     ApiResponse* response) {
    phonebook::SearchResponse found;
    const grpc::Status status = grpc_exception_handler(
        "PhonebookSearch", [&] { found = client_->Search(to_backend_request(*request)); });
    for (const phonebook::PhonebookEntry& entry : found.results()) {
        copy_entry(entry, *response->add_results());
    }
    response->set_offset(found.offset());
    response->set_total_matches(found.total_matches());
    response->set_status(
        same_number(found.status(), ApiResponse::Status_IsValid, ApiResponse::UNKNOWN));
    return status;
}

}  // namespace vanta
