#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "KrellSecurityEvent" bus messages (certificate updates of the Krell
// stack) into Krell security status events.
class KrellSecurityPlugin {
  public:
    KrellSecurityPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    KrellSecurityPlugin(const KrellSecurityPlugin&) = delete;
    KrellSecurityPlugin& operator=(const KrellSecurityPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void send_krellsecurity_event(vantaapi::KrellSecurityStatus::code state,
                                  const std::string& reason, const std::string& value);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
