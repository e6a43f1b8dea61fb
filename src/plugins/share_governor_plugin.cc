#include "plugins/share_governor_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

ShareGovernorPlugin::ShareGovernorPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                         PluginRegistrar&) {}

grpc::Status ShareGovernorPlugin::StartWiredShare(grpc::ServerContext*,
                                                  const google::protobuf::Empty*,
                                                  google::protobuf::Empty*) {
    return not_available_yet("ShareGovernorPlugin::StartWiredShare");
}

grpc::Status ShareGovernorPlugin::StopAllShares(grpc::ServerContext*,
                                                const google::protobuf::Empty*,
                                                google::protobuf::Empty*) {
    return not_available_yet("ShareGovernorPlugin::StopAllShares");
}

grpc::Status ShareGovernorPlugin::GetActiveShares(grpc::ServerContext*,
                                                  const google::protobuf::Empty*,
                                                  vantaapi::ActiveShares*) {
    return not_available_yet("ShareGovernorPlugin::GetActiveShares");
}

}  // namespace vanta
