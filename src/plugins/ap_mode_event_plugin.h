#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "APModeEvent" bus messages (the local access point switched on or
// off) into access-point mode updates.
class APModeEventPlugin {
  public:
    APModeEventPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    APModeEventPlugin(const APModeEventPlugin&) = delete;
    APModeEventPlugin& operator=(const APModeEventPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void forward_event(const vantaapi::APModeUpdate& update);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
