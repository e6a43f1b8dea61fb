#include "plugins/service_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "ServiceEvent";
}  // namespace

ServicePlugin::ServicePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ServicePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    const std::string service_name = message.get_option("service_name");
    switch (message.msg().event()) {
        case 1:
            logger_.info("ServiceEvent: {} is ready", service_name);
            update_service_event(vantaapi::ServiceEvent::READY, service_name);
            break;
        case 2:
            logger_.info("ServiceEvent: {} is unavailable", service_name);
            update_service_event(vantaapi::ServiceEvent::UNAVAILABLE, service_name);
            break;
        case 0:
            logger_.info("ServiceEvent: {} has error", service_name);
            update_service_event(vantaapi::ServiceEvent::ERROR, service_name);
            break;
        default:
            // A service in a state the API has no name for counts as failed.
            logger_.info("ServiceEvent: {} has unknown error", service_name);
            update_service_event(vantaapi::ServiceEvent::ERROR, service_name);
            break;
    }
}

void ServicePlugin::update_service_event(vantaapi::ServiceEvent::code state,
                                         const std::string& service_name) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_new_service_event();
    payload->set_state(state);
    payload->set_service_name(service_name);
    publisher_.publish(event);
}

}  // namespace vanta
