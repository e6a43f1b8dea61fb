#include "plugins/nimbo_status_reporter_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

NimboStatusReporterPlugin::NimboStatusReporterPlugin(Executor&,
                                                     GrpcServerPublisher<vantaapi::VantaEvent>&,
                                                     PluginRegistrar&) {}

grpc::Status NimboStatusReporterPlugin::get_cloud_connectivity(
    grpc::ServerContext*, const google::protobuf::Empty*, vantaapi::CloudConnectivityResponse*) {
    return not_available_yet("NimboStatusReporterPlugin::get_cloud_connectivity");
}

grpc::Status NimboStatusReporterPlugin::get_nimbo_service_status(
    grpc::ServerContext*, const vantaapi::NimboServiceRequest*, vantaapi::NimboServiceStatus*) {
    return not_available_yet("NimboStatusReporterPlugin::get_nimbo_service_status");
}

}  // namespace vanta
