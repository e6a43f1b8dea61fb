#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class CameraPlugin {
  public:
    CameraPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                 PluginRegistrar& registrar);
    CameraPlugin(const CameraPlugin&) = delete;
    CameraPlugin& operator=(const CameraPlugin&) = delete;
};

}  // namespace vanta
