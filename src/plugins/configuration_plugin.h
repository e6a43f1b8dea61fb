#pragma once

#include <memory>

#include "clients/configmanager/configmanager_client.h"
#include "configmanager.pb.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// Tells API subscribers that a setting of the configuration manager changed
// (locale, time zone, geographic service information, graphical-settings
// switch) without the new value: they read it with the matching Get
// operation. A ring-tone change is logged and goes no further.
class ConfigurationPlugin {
  public:
    // The client talks to `configmanager`, the catalogue's configuration-manager
    // row.
    ConfigurationPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar,
                        const Endpoint& configmanager = device_endpoints().configmanager);
    ConfigurationPlugin(const ConfigurationPlugin&) = delete;
    ConfigurationPlugin& operator=(const ConfigurationPlugin&) = delete;

  private:
    // Runs on the client's stream thread.
    void event_handler(const configmanager::Event& event);
    void publish_configmanager_event(vantaapi::ConfigManagerEvent::ChangeType what);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
    // Last: its stream thread calls into the members above.
    std::unique_ptr<configmanager::Client> client_;
};

}  // namespace vanta
