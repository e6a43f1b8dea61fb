#include "plugins/call_history_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

CallHistoryPlugin::CallHistoryPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                     PluginRegistrar&) {}

grpc::Status CallHistoryPlugin::list_records(grpc::ServerContext*,
                                             const vantaapi::ListRecordsRequest*,
                                             vantaapi::ListRecordsResponse*) {
    return not_available_yet("CallHistoryPlugin::list_records");
}

}  // namespace vanta
