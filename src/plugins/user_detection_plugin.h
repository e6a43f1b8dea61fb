#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "UserDetectionEvent" bus messages (room in use, room available) into
// user-detection events.
class UserDetectionPlugin {
  public:
    UserDetectionPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    UserDetectionPlugin(const UserDetectionPlugin&) = delete;
    UserDetectionPlugin& operator=(const UserDetectionPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_status(vantaapi::UserDetectionState::Code state);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
