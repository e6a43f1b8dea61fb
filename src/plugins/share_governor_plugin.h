#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class ShareGovernorPlugin {
  public:
    ShareGovernorPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    ShareGovernorPlugin(const ShareGovernorPlugin&) = delete;
    ShareGovernorPlugin& operator=(const ShareGovernorPlugin&) = delete;
};

}  // namespace vanta
