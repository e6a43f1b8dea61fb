#pragma once

#include <string>

#include "plugins/plugin_registrar.h"
#include "pubsub/pubsub_message.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"
#include "wifi.pb.h"

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

    // Conversions between the API's Wi-Fi messages and the Wi-Fi service's,
    // used by the API's Wi-Fi operations. An enumeration value outside the
    // range both sides share becomes the unknown member (0); the generated
    // enumerations' two sentinels raise std::runtime_error.

    // The API's configuration as the Wi-Fi service takes it. A key management
    // left unknown is derived from the security method.
    static wifi::ConfigInfo map_wifi_config_info(const vantaapi::WifiConfigInfo& config);
    static wifi::FrequencyBand map_wifi_frequency_band(vantaapi::FrequencyBand band);
    static vantaapi::FrequencyBand map_wifi_frequency_band(wifi::FrequencyBand band);
    static wifi::SecurityMethod map_wifi_security_method(vantaapi::SecurityMethod method);
    // The API has no WEP: a WEP network is reported as UNKNOWN_METHOD.
    static vantaapi::SecurityMethod map_wifi_security_method(wifi::SecurityMethod method);
    static wifi::KeyManagementMethod map_wifi_key_mgmt_method(vantaapi::KeyManagementMethod method);
    static vantaapi::KeyManagementMethod map_wifi_key_mgmt_method(wifi::KeyManagementMethod method);
    static vantaapi::WifiStatusType map_wifi_status(wifi::WifiStatusType status);
    static vantaapi::WifiSignalLevelType map_signal_level(wifi::SignalLevelType level);
    static vantaapi::WifiSignalLevelType map_wifi_signal_level(wifi::SignalLevelType level);

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
