#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ImageDownloadEvent" bus messages into image-download progress and
// failure events.
class ImageDownloadPlugin {
  public:
    ImageDownloadPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    ImageDownloadPlugin(const ImageDownloadPlugin&) = delete;
    ImageDownloadPlugin& operator=(const ImageDownloadPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void handle_download_progress_event(int progress);
    void handle_download_failure_event(const std::string& failure_message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
