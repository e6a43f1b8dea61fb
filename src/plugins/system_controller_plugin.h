#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class SystemControllerPlugin {
  public:
    SystemControllerPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar);
    SystemControllerPlugin(const SystemControllerPlugin&) = delete;
    SystemControllerPlugin& operator=(const SystemControllerPlugin&) = delete;
};

}  // namespace vanta
