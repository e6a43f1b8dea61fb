#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class NfcPlugin {
  public:
    NfcPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
              PluginRegistrar& registrar);
    NfcPlugin(const NfcPlugin&) = delete;
    NfcPlugin& operator=(const NfcPlugin&) = delete;
};

}  // namespace vanta
