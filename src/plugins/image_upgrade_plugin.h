#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ImageUpgradeEvent" bus messages into image-upgrade progress and
// failure events.
class ImageUpgradePlugin {
  public:
    ImageUpgradePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                       PluginRegistrar& registrar);
    ImageUpgradePlugin(const ImageUpgradePlugin&) = delete;
    ImageUpgradePlugin& operator=(const ImageUpgradePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void image_upgrade_set_progress(int progress, const std::string& stage);
    void image_upgrade_set_failure(const std::string& failure_message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
