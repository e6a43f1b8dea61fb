#include "clients/phonebook/phonebook_client_impl.h"

#include <memory>

#include "runtime/logging/loggers.h"

namespace vanta::phonebook {

ClientImpl::ClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

SearchResponse ClientImpl::Search(const SearchRequest& request) {
    return clients::call_or_throw(stub(), &Phonebook::Stub::Search, request, call("Search"));
}

std::unique_ptr<Client> create_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, logging::getLogger("PhonebookClient"));
}

}  // namespace vanta::phonebook
