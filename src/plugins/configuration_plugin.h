#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class ConfigurationPlugin {
  public:
    ConfigurationPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    ConfigurationPlugin(const ConfigurationPlugin&) = delete;
    ConfigurationPlugin& operator=(const ConfigurationPlugin&) = delete;
};

}  // namespace vanta
