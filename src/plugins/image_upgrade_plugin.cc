#include "plugins/image_upgrade_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
constexpr char kTopic[] = "ImageUpgradeEvent";
}  // namespace

ImageUpgradePlugin::ImageUpgradePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                       PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ImageUpgradePlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            // A progress text without a leading number raises std::invalid_argument
            // (std::out_of_range beyond 32 bits) to the bus dispatcher.
            image_upgrade_set_progress(std::stoi(message.msg().data()),
                                       message.get_option("stage"));
            break;
        case 2:
            image_upgrade_set_failure(message.get_option("failure_message"));
            break;
        default:
            break;
    }
}

void ImageUpgradePlugin::image_upgrade_set_progress(int progress, const std::string& stage) {
    vantaapi::VantaEvent event;
    auto* payload = event.mutable_image_upgrade_progress();
    payload->set_progress(progress);
    payload->set_stage(stage);
    publisher_.publish(event);
}

void ImageUpgradePlugin::image_upgrade_set_failure(const std::string& failure_message) {
    vantaapi::VantaEvent event;
    event.mutable_image_upgrade_failure()->set_failure_message(failure_message);
    publisher_.publish(event);
}

}  // namespace vanta
