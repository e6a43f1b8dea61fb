#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"

namespace vanta {

// Turns the Wi-Fi service's bus announcements into API events.
class WifiPlugin {
  public:
    WifiPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher, PluginRegistrar& registrar);
    WifiPlugin(const WifiPlugin&) = delete;
    WifiPlugin& operator=(const WifiPlugin&) = delete;

    void update_wifi_status(vantaapi::WifiStatusType status, const std::string& reason);
    void update_wifi_signal_level(const std::string& level);
    void update_wifi_enable_state(bool enabled);

    // The level named in `text` ("...LEVEL_TWO..."); the lowest level named
    // wins, no name is SIGNAL_NO_NETWORK.
    static vantaapi::WifiSignalLevelType map_wifi_signal_level(const std::string& text);

  private:
    void handle_signallevel_event(const pubsub::PubSubMessage& message);
    void handle_connection_event(const pubsub::PubSubMessage& message);
    void handle_enable_state_event(const pubsub::PubSubMessage& message);
    void handle_config_change_event(const pubsub::PubSubMessage& message);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    logging::Logger& logger_;
    logging::Logger& wifi_logger_;
};

}  // namespace vanta
