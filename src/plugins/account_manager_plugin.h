#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class AccountManagerPlugin {
  public:
    AccountManagerPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                         PluginRegistrar& registrar);
    AccountManagerPlugin(const AccountManagerPlugin&) = delete;
    AccountManagerPlugin& operator=(const AccountManagerPlugin&) = delete;
};

}  // namespace vanta
