#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class AvatarPlugin {
  public:
    AvatarPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 PluginRegistrar& registrar);
    AvatarPlugin(const AvatarPlugin&) = delete;
    AvatarPlugin& operator=(const AvatarPlugin&) = delete;
};

}  // namespace vanta
