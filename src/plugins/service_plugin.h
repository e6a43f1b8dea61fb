#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "ServiceEvent" bus messages (a device service became ready, unavailable
// or failed) into service events.
class ServicePlugin {
  public:
    ServicePlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar);
    ServicePlugin(const ServicePlugin&) = delete;
    ServicePlugin& operator=(const ServicePlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void update_service_event(vantaapi::ServiceEvent::code state, const std::string& service_name);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
