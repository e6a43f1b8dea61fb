#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns "KrellConfigManagerEvent" bus messages into Krell configuration status
// events.
class KrellConfigManagerPlugin {
  public:
    KrellConfigManagerPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                             PluginRegistrar& registrar);
    KrellConfigManagerPlugin(const KrellConfigManagerPlugin&) = delete;
    KrellConfigManagerPlugin& operator=(const KrellConfigManagerPlugin&) = delete;

    void handle_subscription_event(const pubsub::PubSubMessage& message);

  private:
    void send_krellconfigmanager_event(vantaapi::KrellConfigManagerStatus::code state,
                                       const std::string& value);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    PluginRegistrar& registrar_;
    logging::Logger& logger_;
};

}  // namespace vanta
