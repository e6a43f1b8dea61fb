#pragma once

#include "calling.pb.h"
#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ShareAvailableEvent" bus messages, which carry the call control's
// ShareAvailable record, into share-available events.
class ShareAvailablePlugin {
  public:
    ShareAvailablePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                         PluginRegistrar& registrar);
    ShareAvailablePlugin(const ShareAvailablePlugin&) = delete;
    ShareAvailablePlugin& operator=(const ShareAvailablePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_share_available(const vanta::calling::ShareAvailable& share);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
