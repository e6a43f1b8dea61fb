#include "plugins/upgrade_manager_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "UpgradeEvent";
}  // namespace

UpgradeManagerPlugin::UpgradeManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                           PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void UpgradeManagerPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using State = vantaapi::UpgradeState;
    switch (message.msg().event()) {
        case 1:
            update_upgrade_state(State::IN_PROGRESS);
            break;
        case 2:
        case 6:
        case 7:
            update_upgrade_state(State::IDLE);
            break;
        case 3:
            update_upgrade_state(State::REBOOTING);
            break;
        case 5:
            update_upgrade_state(State::IN_DOWNLOADING);
            break;
        case 8:
            update_upgrade_state(State::NEW_VERSION_AVAILABLE);
            break;
        case 9:
            update_upgrade_state(State::POSTPONED);
            break;
        case 10:
            update_upgrade_state(State::CRITICAL_VERSION);
            break;
        default:
            // The upgrade manager's other notices mean nothing to API clients.
            break;
    }
}

void UpgradeManagerPlugin::update_upgrade_state(vantaapi::UpgradeState::code state) {
    vantaapi::VantaEvent event;
    event.mutable_new_upgrade_state()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
