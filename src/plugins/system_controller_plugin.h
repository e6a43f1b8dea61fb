#pragma once

#include <memory>

#include "clients/systemcontroller/systemcontroller_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "systemcontroller.pb.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Tells API subscribers that the system controller's system state or device
// state changed, without the new state: they read it with GetSystemState or
// GetDeviceState.
class SystemControllerPlugin {
  public:
    // The client talks to `systemcontroller`, the catalogue's
    // system-controller row.
    SystemControllerPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar,
                           const Endpoint& systemcontroller = device_endpoints().systemcontroller);
    SystemControllerPlugin(const SystemControllerPlugin&) = delete;
    SystemControllerPlugin& operator=(const SystemControllerPlugin&) = delete;

  private:
    void subscribe_to_events();
    // Runs on the client's stream thread.
    void event_handler(const systemcontroller::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    // Last: its stream thread calls into the members above.
    std::unique_ptr<systemcontroller::Client> client_;
};

}  // namespace vanta
