#include "plugins/call_history_plugin.h"

#include <chrono>
#include <utility>

#include "plugins/shared_enum_member.h"
#include "rpc/client/grpc_exception_handler.h"

using namespace std::chrono_literals;

namespace vanta {

namespace {

using ApiRecord = vantaapi::Record;
using HistoryRecord = callhistory::Record;

void copy_record(const HistoryRecord& from, ApiRecord& to) {
    to.set_name(from.name());
    to.set_uri(from.uri());
    to.set_avatar_id(from.avatar_id());
    if (from.has_timestamp()) {
        *to.mutable_timestamp() = from.timestamp();
    }
    if (from.has_duration_sec()) {
        *to.mutable_duration_sec() = from.duration_sec();
    }
    to.set_description(plugins::shared_enum_member<ApiRecord::Description>(
        from.description(), ApiRecord::Description_IsValid, "call record description"));
    to.set_direction(plugins::shared_enum_member<ApiRecord::Direction>(
        from.direction(), ApiRecord::Direction_IsValid, "call record direction"));
    to.set_disposition(plugins::shared_enum_member<ApiRecord::Disposition>(
        from.disposition(), ApiRecord::Disposition_IsValid, "call record disposition"));
    to.set_backend(plugins::shared_enum_member<ApiRecord::Backend>(
        from.backend(), ApiRecord::Backend_IsValid, "call record backend"));
    to.set_occurrence_count(from.occurrence_count());
}

}  // namespace

CallHistoryPlugin::CallHistoryPlugin(Executor& executor,
                                     GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     PluginRegistrar&)
    : CallHistoryPlugin(publisher, callhistory::create_client(executor, 2000ms)) {}

CallHistoryPlugin::CallHistoryPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     std::unique_ptr<callhistory::Client> client)
    : publisher_(publisher), client_(std::move(client)) {
    client_->SetObserver([this](const callhistory::Event& event) { handle_event(event); }, [] {});
}

void CallHistoryPlugin::handle_event(const callhistory::Event& event) {
    if (event.has_call_history_changed()) {
        vantaapi::VantaEvent published;
        published.mutable_call_history_event()->mutable_call_history_changed();
        publisher_.publish(published);
    }
}

grpc::Status CallHistoryPlugin::list_records(grpc::ServerContext*,
                                             const vantaapi::ListRecordsRequest* request,
                                             vantaapi::ListRecordsResponse* response) {
    return grpc_exception_handler("ListRecords", [&] {
        callhistory::ListRecordsRequest query;
        query.set_search_token(request->search_token());
        query.set_page_size(request->page_size());
        query.set_page_token(request->page_token());
        const callhistory::ListRecordsResponse records = client_->ListRecords(query);
        for (const HistoryRecord& record : records.records()) {
            copy_record(record, *response->add_records());
        }
        response->set_next_page_token(records.next_page_token());
    });
}

}  // namespace vanta
