#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UiAudioPathEvent" bus messages into audio-path state events.
class UiAudioPathPlugin {
  public:
    UiAudioPathPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    UiAudioPathPlugin(const UiAudioPathPlugin&) = delete;
    UiAudioPathPlugin& operator=(const UiAudioPathPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_ui_audio_path_state(vantaapi::UiAudioPathState::code state, int current_path_index);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
