#include "plugins/upgrade_info_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UpgradeInfoEvent";
}  // namespace

UpgradeInfoPlugin::UpgradeInfoPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                     PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UpgradeInfoPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            handle_upgrade_info_event();
            break;
        case 2:
            handle_postpone_message_event(message.get_option("message"));
            break;
        case 3:
            // Only the exact text "True" means available; "true" or "1" do not.
            handle_upgrade_trigger_available(message.msg().data() == "True");
            break;
        default:
            break;
    }
}

void UpgradeInfoPlugin::handle_upgrade_info_event() {
    vantaapi::VantaEvent event;
    event.mutable_upgrade_info_event();
    publisher_.publish(event);
}

void UpgradeInfoPlugin::handle_postpone_message_event(const std::string& postpone_message) {
    vantaapi::VantaEvent event;
    event.mutable_postpone_message_event()->set_postpone_message(postpone_message);
    publisher_.publish(event);
}

void UpgradeInfoPlugin::handle_upgrade_trigger_available(bool available_to_trigger) {
    vantaapi::VantaEvent event;
    event.mutable_upgrade_trigger_available()->set_available_to_trigger(available_to_trigger);
    publisher_.publish(event);
}

}  // namespace vanta
