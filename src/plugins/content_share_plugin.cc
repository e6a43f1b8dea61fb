#include "plugins/content_share_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "ContentShareEvent";
}  // namespace

ContentSharePlugin::ContentSharePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                       PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ContentSharePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    const int number = message.msg().event();
    // The bus numbers the share states exactly as the API does, from
    // LOCAL_WIRELESS_SHARE_STARTED (1) to IN_CALL_REMOTE_SHARE_STOPPED (10).
    if (number >= vantaapi::ShareState::LOCAL_WIRELESS_SHARE_STARTED &&
        number <= vantaapi::ShareState::IN_CALL_REMOTE_SHARE_STOPPED) {
        const auto state = static_cast<vantaapi::ShareState::code>(number);
        logger_.info("{}", vantaapi::ShareState::code_Name(state));
        update_share_state(state);
        return;
    }
    // Clients still learn that the share state changed, even if not to what.
    logger_.info("Unknown ContentShareEvent");
    update_share_state(vantaapi::ShareState::SHARESTATE_UNKNOWN);
}

void ContentSharePlugin::update_share_state(vantaapi::ShareState::code state) {
    vantaapi::VantaEvent event;
    event.mutable_new_share_state()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
