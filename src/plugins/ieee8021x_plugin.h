#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "Ieee8021xEvent" bus messages into 802.1X authentication status events.
class Ieee8021xPlugin {
  public:
    Ieee8021xPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
    Ieee8021xPlugin(const Ieee8021xPlugin&) = delete;
    Ieee8021xPlugin& operator=(const Ieee8021xPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_network_status(vantaapi::Ieee8021xStatus::code status);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
