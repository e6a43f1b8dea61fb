#include "plugins/ieee8021x_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "Ieee8021xEvent";
}  // namespace

Ieee8021xPlugin::Ieee8021xPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                 PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void Ieee8021xPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 0:
            logger_.info("IEEE 8021x Disabled");
            update_network_status(vantaapi::Ieee8021xStatus::UNKNOWN);
            break;
        case 1:
            logger_.info("IEEE 8021x Successful");
            update_network_status(vantaapi::Ieee8021xStatus::IEEE_8021x_SUCCESS);
            break;
        case 2:
            logger_.info("IEEE 8021x Failed");
            update_network_status(vantaapi::Ieee8021xStatus::IEEE_8021x_FAILURE);
            break;
        default:
            logger_.info("unknown ieee 8021x event");
            break;
    }
}

void Ieee8021xPlugin::update_network_status(vantaapi::Ieee8021xStatus::code status) {
    vantaapi::VantaEvent event;
    event.mutable_new_8021x_status()->set_status(status);
    publisher_.publish(event);
}

}  // namespace vanta
