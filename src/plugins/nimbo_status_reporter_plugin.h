#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class NimboStatusReporterPlugin {
  public:
    NimboStatusReporterPlugin(Executor& executor,
                              GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                              PluginRegistrar& registrar);
    NimboStatusReporterPlugin(const NimboStatusReporterPlugin&) = delete;
    NimboStatusReporterPlugin& operator=(const NimboStatusReporterPlugin&) = delete;
};

}  // namespace vanta
