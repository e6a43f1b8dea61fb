#include "plugins/on_prem_upgrade_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "OnPremUpgradeEvent";
}  // namespace

OnPremUpgradePlugin::OnPremUpgradePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void OnPremUpgradePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            handle_on_prem_upgrade_alert_event();
            break;
        case 2:
            handle_on_prem_upgrade_error_event();
            break;
        case 3:
            handle_on_prem_upgrade_postponed_event();
            break;
        default:
            logger_.info("OnPremUpgradePlugin: unknown on-prem upgrade event");
            break;
    }
}

void OnPremUpgradePlugin::handle_on_prem_upgrade_alert_event() {
    vantaapi::VantaEvent event;
    event.mutable_on_prem_upgrade_alert();
    publisher_.publish(event);
}

void OnPremUpgradePlugin::handle_on_prem_upgrade_error_event() {
    vantaapi::VantaEvent event;
    event.mutable_on_prem_upgrade_error();
    publisher_.publish(event);
}

void OnPremUpgradePlugin::handle_on_prem_upgrade_postponed_event() {
    vantaapi::VantaEvent event;
    event.mutable_on_prem_upgrade_postponed();
    publisher_.publish(event);
}

}  // namespace vanta
