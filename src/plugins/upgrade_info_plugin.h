#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UpgradeInfoEvent" bus messages into upgrade-information, postpone-message
// and trigger-availability events.
class UpgradeInfoPlugin {
  public:
    UpgradeInfoPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    UpgradeInfoPlugin(const UpgradeInfoPlugin&) = delete;
    UpgradeInfoPlugin& operator=(const UpgradeInfoPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void handle_upgrade_info_event();
    void handle_postpone_message_event(const std::string& postpone_message);
    void handle_upgrade_trigger_available(bool available_to_trigger);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
