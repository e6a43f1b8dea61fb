#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UiServerMuteEvent" bus messages (the meeting server asks to unmute)
// into server-mute events.
class UiServerMutePlugin {
  public:
    UiServerMutePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                       PluginRegistrar& registrar);
    UiServerMutePlugin(const UiServerMutePlugin&) = delete;
    UiServerMutePlugin& operator=(const UiServerMutePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void publish_event(vantaapi::UiServerMuteEvent::code code);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
