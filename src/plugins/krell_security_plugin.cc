#include "plugins/krell_security_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "KrellSecurityEvent";
}  // namespace

KrellSecurityPlugin::KrellSecurityPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void KrellSecurityPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    using Status = vantaapi::KrellSecurityStatus;
    Status::code state = Status::UNKNOWN;
    switch (message.msg().event()) {
        case 1:
            state = Status::LSC_UPDATE_SUCCESS;
            break;
        case 2:
            state = Status::LSC_UPDATE_FAILED;
            break;
        default:
            break;
    }
    send_krellsecurity_event(state, message.get_option("reason"), message.get_option("value"));
}

void KrellSecurityPlugin::send_krellsecurity_event(vantaapi::KrellSecurityStatus::code state,
                                                   const std::string& reason,
                                                   const std::string& value) {
    vantaapi::VantaEvent event;
    auto* status = event.mutable_new_krellsecurity_status();
    status->set_state(state);
    status->set_reason(reason);
    status->set_value(value);
    publisher_.publish(event);
}

}  // namespace vanta
