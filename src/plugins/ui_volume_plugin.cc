#include "plugins/ui_volume_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UiVolumeEvent";
}  // namespace

UiVolumePlugin::UiVolumePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                               PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UiVolumePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            logger_.info("VOLUME_CHANGED");
            update_ui_volume_state(vantaapi::UiVolumeState::VOLUME_CHANGED, message.msg().data());
            break;
        case 2:
            logger_.info("RINGER_VOLUME_CHANGED");
            update_ui_volume_state(vantaapi::UiVolumeState::RINGER_VOLUME_CHANGED,
                                   message.msg().data());
            break;
        default:
            logger_.info("unknown volume event");
            break;
    }
}

void UiVolumePlugin::update_ui_volume_state(vantaapi::UiVolumeState::code state,
                                            const std::string& volume) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_new_ui_volume_state();
    payload->set_state(state);
    payload->set_volume(volume);
    publisher_.publish(event);
}

}  // namespace vanta
