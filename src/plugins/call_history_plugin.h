#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class CallHistoryPlugin {
  public:
    CallHistoryPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    CallHistoryPlugin(const CallHistoryPlugin&) = delete;
    CallHistoryPlugin& operator=(const CallHistoryPlugin&) = delete;
};

}  // namespace vanta
