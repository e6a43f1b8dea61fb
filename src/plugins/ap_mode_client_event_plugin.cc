#include "plugins/ap_mode_client_event_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "APModeClientEvent";
}  // namespace

APModeClientEventPlugin::APModeClientEventPlugin(
    GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void APModeClientEventPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    vantaapi::APModeUpdate update;
    switch (message.msg().event()) {
        case 1:
            update.set_state(vantaapi::APModeUpdate::CLIENT_CONNECTED);
            break;
        case 2:
            update.set_state(vantaapi::APModeUpdate::CLIENT_DISCONNECTED);
            break;
        default:
            logger_.warning("unknown APModeClient event - {}", message.msg().event());
            return;
    }
    forward_event(update);
}

void APModeClientEventPlugin::forward_event(const vantaapi::APModeUpdate& update) {
    logger_.info("Forward APModeClient Event {}",
                 vantaapi::APModeUpdate::Code_Name(update.state()));
    vantaapi::VantaEvent event;
    *event.mutable_ap_mode_update() = update;
    publisher_.publish(event);
}

}  // namespace vanta
