#include "plugins/feature_toggle_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "FeatureToggleEvent";
}  // namespace

FeatureTogglePlugin::FeatureTogglePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void FeatureTogglePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            // Only "1" switches a feature on; "true" or "on" leave it off.
            send_featuretoggle_event(message.get_option("name"),
                                     message.get_option("value") == "1");
            break;
        case 2:
            send_featuretoggle_event(message.get_option("name"), false);
            break;
        default:
            logger_.info("Unknown FeatureToggle event");
            break;
    }
}

void FeatureTogglePlugin::send_featuretoggle_event(const std::string& feature_name, bool enabled) {
    vantaapi::VantaEvent event;
    auto* feature = event.mutable_feature_toggle_update();
    feature->set_feature_name(feature_name);
    feature->set_enabled(enabled);
    publisher_.publish(event);
}

}  // namespace vanta
