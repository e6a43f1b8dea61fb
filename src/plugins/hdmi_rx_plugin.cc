#include "plugins/hdmi_rx_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "HDMIRxEvent";
}  // namespace

HdmiRxPlugin::HdmiRxPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                           PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void HdmiRxPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() != 0) {
        logger_.info("unknown hdmi rx event");
        return;
    }
    logger_.info("HDMI_RX_CHANGED");
    update_hdmi_rx_state();
}

void HdmiRxPlugin::update_hdmi_rx_state() {
    vantaapi::VantaEvent event;
    event.mutable_hdmi_rx_event();
    publisher_.publish(event);
}

}  // namespace vanta
