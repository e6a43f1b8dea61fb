#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "HDMIRxEvent" bus messages into HDMI input change events.
class HdmiRxPlugin {
  public:
    HdmiRxPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar);
    HdmiRxPlugin(const HdmiRxPlugin&) = delete;
    HdmiRxPlugin& operator=(const HdmiRxPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_hdmi_rx_state();

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
