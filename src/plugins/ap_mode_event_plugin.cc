#include "plugins/ap_mode_event_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "APModeEvent";
}  // namespace

APModeEventPlugin::APModeEventPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void APModeEventPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    vantaapi::APModeUpdate update;
    switch (message.msg().event()) {
        case 1: {
            update.set_state(vantaapi::APModeUpdate::ENABLE);
            auto* configuration = update.mutable_data();
            configuration->set_ssid(message.get_option("ssid"));
            configuration->set_passphrase(message.get_option("passphrase"));
            configuration->set_ip_address(message.get_option("ip_address"));
            break;
        }
        case 2:
            // A switched-off access point still reports a (blank) configuration.
            update.set_state(vantaapi::APModeUpdate::DISABLE);
            update.mutable_data();
            break;
        default:
            logger_.warning("unknown APMode event - {}", message.msg().event());
            return;
    }
    forward_event(update);
}

void APModeEventPlugin::forward_event(const vantaapi::APModeUpdate& update) {
    // The state only: the configuration holds the access point's passphrase.
    logger_.info("Forward APModeUpdate Event {}",
                 vantaapi::APModeUpdate::Code_Name(update.state()));
    vantaapi::VantaEvent event;
    *event.mutable_ap_mode_update() = update;
    publisher_.publish(event);
}

}  // namespace vanta
