#include "plugins/image_download_plugin.h"

#include <stdexcept>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

constexpr char kTopic[] = "ImageDownloadEvent";

// The download progress is a decimal number at the start of the text ("42%"
// reads as 42).
int parse_progress(const std::string& text) {
    try {
        return std::stoi(text);
    } catch (const std::logic_error&) {
        throw std::runtime_error("Wrong data()");
    }
}

}  // namespace

ImageDownloadPlugin::ImageDownloadPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar& registrar)
    : publisher_(publisher), registrar_(registrar), logger_(logging::getLogger("VantaApi")) {
    registrar_.register_event_handler(kTopic, [this](const pubsub::PubSubMessage& message) {
        handle_subscription_event(message);
    });
}

void ImageDownloadPlugin::handle_subscription_event(const pubsub::PubSubMessage& message) {
    switch (message.msg().event()) {
        case 1:
            handle_download_progress_event(parse_progress(message.msg().data()));
            break;
        case 2:
            handle_download_failure_event(message.get_option("failure_message"));
            break;
        default:
            break;
    }
}

void ImageDownloadPlugin::handle_download_progress_event(int progress) {
    vantaapi::VantaEvent event;
    event.mutable_image_download_progress()->set_progress(progress);
    publisher_.publish(event);
}

void ImageDownloadPlugin::handle_download_failure_event(const std::string& failure_message) {
    vantaapi::VantaEvent event;
    event.mutable_image_download_failure()->set_failure_message(failure_message);
    publisher_.publish(event);
}

}  // namespace vanta
