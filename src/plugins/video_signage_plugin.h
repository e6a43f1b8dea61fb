#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "VideoSignageEvent" bus messages into video-signage state events.
class VideoSignagePlugin {
  public:
    VideoSignagePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                       PluginRegistrar& registrar);
    VideoSignagePlugin(const VideoSignagePlugin&) = delete;
    VideoSignagePlugin& operator=(const VideoSignagePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_videosignage_state(vantaapi::VideoSignageState::VideoState state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
