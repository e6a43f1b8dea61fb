#include "plugins/user_detection_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UserDetectionEvent";
}  // namespace

UserDetectionPlugin::UserDetectionPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UserDetectionPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 0:
            logger_.info("VantaApi Plugin UserDetection ROOM IN USE EVENT");
            update_status(vantaapi::UserDetectionState::ROOM_IN_USE);
            break;
        case 1:
            logger_.info("VantaApi Plugin UserDetection ROOM AVAILABLE");
            update_status(vantaapi::UserDetectionState::ROOM_AVAILABLE);
            break;
        default:
            logger_.error("VantaApi Plugin UserDetection UNKNOWN EVENT data: [{}]",
                          message.msg().data());
            break;
    }
}

void UserDetectionPlugin::update_status(vantaapi::UserDetectionState::Code state) {
    vantaapi::VantaEvent event;
    event.mutable_new_userdetection_state()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
