#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UiVolumeEvent" bus messages into volume-state events.
class UiVolumePlugin {
  public:
    UiVolumePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                   PluginRegistrar& registrar);
    UiVolumePlugin(const UiVolumePlugin&) = delete;
    UiVolumePlugin& operator=(const UiVolumePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_ui_volume_state(vantaapi::UiVolumeState::code state, const std::string& volume);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
