#pragma once

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "NetworkStatusEvent" bus messages into network status reports. The
// event carries only what the bus message holds; the full report is
// available from the network status query.
class NetworkStatusPlugin {
  public:
    NetworkStatusPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    NetworkStatusPlugin(const NetworkStatusPlugin&) = delete;
    NetworkStatusPlugin& operator=(const NetworkStatusPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_network_status_report(const vantaapi::NetworkStatusReport& report);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
