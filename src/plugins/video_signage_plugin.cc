#include "plugins/video_signage_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "VideoSignageEvent";
}  // namespace

VideoSignagePlugin::VideoSignagePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                       PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void VideoSignagePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using State = vantaapi::VideoSignageState;
    switch (message.msg().event()) {
        case 0:
            logger_.info("Video Signage Error");
            update_videosignage_state(State::ERROR);
            break;
        case 1:
            logger_.info("Video Signage Initialized");
            update_videosignage_state(State::INITIALIZED);
            break;
        case 2:
            logger_.info("Video Signage Playing");
            update_videosignage_state(State::PLAYING);
            break;
        case 3:
            logger_.info("Video Signage DONE");
            update_videosignage_state(State::DONE);
            break;
        default:
            logger_.info("unknown videosignage event");
            break;
    }
}

void VideoSignagePlugin::update_videosignage_state(vantaapi::VideoSignageState::VideoState state) {
    vantaapi::VantaEvent event;
    event.mutable_new_video_signage_state()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
