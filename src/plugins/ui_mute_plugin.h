#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UiMuteEvent" bus messages into microphone mute-state events.
class UiMutePlugin {
  public:
    UiMutePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar);
    UiMutePlugin(const UiMutePlugin&) = delete;
    UiMutePlugin& operator=(const UiMutePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_ui_mute_state(vantaapi::UiMuteState::code state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
