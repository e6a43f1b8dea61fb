#include "plugins/proxy_config_event_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "ProxyConfigEvent";
}  // namespace

ProxyConfigEventPlugin::ProxyConfigEventPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                               PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ProxyConfigEventPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            logger_.info("Plugin ProxyConfigEvent CHANGED");
            send_proxy_config_event(vantaapi::ProxyConfigEvent::CHANGED);
            break;
        case 2:
            logger_.info("Plugin ProxyConfigEvent ERROR");
            send_proxy_config_event(vantaapi::ProxyConfigEvent::ERROR);
            break;
        default:
            break;
    }
}

void ProxyConfigEventPlugin::send_proxy_config_event(vantaapi::ProxyConfigEvent::code state) {
    logger_.info("Plugin ProxyConfigEvent update status: event={}", static_cast<int>(state));
    vantaapi::VantaEvent event;
    event.mutable_new_proxy_config_event()->set_state(state);
    publisher_.publish(event);
}

}  // namespace vanta
