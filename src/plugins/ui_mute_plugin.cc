#include "plugins/ui_mute_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UiMuteEvent";
}  // namespace

UiMutePlugin::UiMutePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UiMutePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            logger_.info("mute enabled");
            update_ui_mute_state(vantaapi::UiMuteState::MUTE_ENABLED);
            break;
        case 2:
            logger_.info("mute disabled");
            update_ui_mute_state(vantaapi::UiMuteState::MUTE_DISABLED);
            break;
        case 3:
            logger_.info("muted by server");
            update_ui_mute_state(vantaapi::UiMuteState::MUTED_BY_SERVER);
            break;
        default:
            break;
    }
}

void UiMutePlugin::update_ui_mute_state(vantaapi::UiMuteState::code state) {
    vantaapi::VantaEvent event;
    event.mutable_new_ui_mute_state()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
