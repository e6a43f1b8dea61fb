#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "APModeClientEvent" bus messages (a client joined or left the local
// access point) into access-point mode updates.
class APModeClientEventPlugin {
  public:
    APModeClientEventPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                            PluginRegistrar& registrar);
    APModeClientEventPlugin(const APModeClientEventPlugin&) = delete;
    APModeClientEventPlugin& operator=(const APModeClientEventPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void forward_event(const vantaapi::APModeUpdate& update);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
