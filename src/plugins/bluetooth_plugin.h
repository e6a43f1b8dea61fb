#pragma once

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapievents.pb.h"

namespace vanta {

class BluetoothPlugin {
  public:
    BluetoothPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
    BluetoothPlugin(const BluetoothPlugin&) = delete;
    BluetoothPlugin& operator=(const BluetoothPlugin&) = delete;
};

}  // namespace vanta
