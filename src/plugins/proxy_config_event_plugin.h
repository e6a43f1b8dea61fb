#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ProxyConfigEvent" bus messages into proxy-configuration events.
class ProxyConfigEventPlugin {
  public:
    ProxyConfigEventPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar);
    ProxyConfigEventPlugin(const ProxyConfigEventPlugin&) = delete;
    ProxyConfigEventPlugin& operator=(const ProxyConfigEventPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void send_proxy_config_event(vantaapi::ProxyConfigEvent::code state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
