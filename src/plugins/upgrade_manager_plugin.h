#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns the upgrade manager's "UpgradeEvent" bus messages into upgrade-state
// events.
class UpgradeManagerPlugin {
  public:
    UpgradeManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                         PluginRegistrar& registrar);
    UpgradeManagerPlugin(const UpgradeManagerPlugin&) = delete;
    UpgradeManagerPlugin& operator=(const UpgradeManagerPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_upgrade_state(vantaapi::UpgradeState::code state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
