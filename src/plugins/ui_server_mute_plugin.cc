#include "plugins/ui_server_mute_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UiServerMuteEvent";
}  // namespace

UiServerMutePlugin::UiServerMutePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                       PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UiServerMutePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() == 1) {
        publish_event(vantaapi::UiServerMuteEvent::REQUEST_TO_UNMUTE);
    }
}

void UiServerMutePlugin::publish_event(vantaapi::UiServerMuteEvent::code code) {
    vantaapi::VantaEvent event;
    event.mutable_ui_server_mute_event()->set_event(code);
    publisher_.publish(event);
}

}  // namespace vanta
