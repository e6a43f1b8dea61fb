#include "plugins/krell_config_manager_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "KrellConfigManagerEvent";
}  // namespace

KrellConfigManagerPlugin::KrellConfigManagerPlugin(
    GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void KrellConfigManagerPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using Status = vantaapi::KrellConfigManagerStatus;
    Status::code state = Status::UNKNOWN;
    switch (message.msg().event()) {
        case 1:
            state = Status::KRELL_DEVICE_CONFIG_UPDATED;
            break;
        case 2:
            state = Status::KRELL_TFTP_ADDRESS_UPDATED;
            break;
        case 3:
            state = Status::KRELL_CONFIG_PAYLOAD_DOWNLOADED;
            break;
        default:
            // Clients are still told that something in the configuration moved.
            break;
    }
    if (state != Status::UNKNOWN) {
        logger_.info("Plugin KrellConfigManagerEvent {}", Status::code_Name(state));
    }
    send_krellconfigmanager_event(state, message.get_option("value"));
}

void KrellConfigManagerPlugin::send_krellconfigmanager_event(
    vantaapi::KrellConfigManagerStatus::code state, const std::string& value) {
    // The name labels the kind of change with the state's own name.
    const std::string& name = vantaapi::KrellConfigManagerStatus::code_Name(state);
    logger_.info("Plugin KrellConfigManagerEvent update status: event={} name: {} value: {}",
                 static_cast<int>(state), name, value);
    vantaapi::VantaEvent event;
    auto* status = event.mutable_new_krellconfigmanager_status();
    status->set_state(state);
    status->set_name(name);
    status->set_value(value);
    publisher_.publish(event);
}

}  // namespace vanta
