#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "OnPremUpgradeEvent" bus messages into the on-premises upgrade alert,
// error and postponed events.
class OnPremUpgradePlugin {
  public:
    OnPremUpgradePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    OnPremUpgradePlugin(const OnPremUpgradePlugin&) = delete;
    OnPremUpgradePlugin& operator=(const OnPremUpgradePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void handle_on_prem_upgrade_alert_event();
    void handle_on_prem_upgrade_error_event();
    void handle_on_prem_upgrade_postponed_event();

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
