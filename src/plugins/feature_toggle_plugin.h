#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "FeatureToggleEvent" bus messages into feature-toggle updates.
class FeatureTogglePlugin {
  public:
    FeatureTogglePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    FeatureTogglePlugin(const FeatureTogglePlugin&) = delete;
    FeatureTogglePlugin& operator=(const FeatureTogglePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void send_featuretoggle_event(const std::string& feature_name, bool enabled);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
