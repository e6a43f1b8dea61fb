#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class NimboBrandingPlugin {
  public:
    NimboBrandingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    NimboBrandingPlugin(const NimboBrandingPlugin&) = delete;
    NimboBrandingPlugin& operator=(const NimboBrandingPlugin&) = delete;
};

}  // namespace vanta
