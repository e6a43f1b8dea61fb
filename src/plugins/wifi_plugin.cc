#include "plugins/wifi_plugin.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {

// The number of `value` when it lies in [first, last], else 0 (the unknown
// member); the generated sentinels raise with `name`.
template <typename To, typename From>
To keep_in_range(From value, int first, int last, const char* name) {
    const int number = static_cast<int>(value);
    if (number == std::numeric_limits<int32_t>::min() ||
        number == std::numeric_limits<int32_t>::max()) {
        throw std::runtime_error(std::string("Unexpected wifi ") + name);
    }
    return static_cast<To>(number >= first && number <= last ? number : 0);
}

// The key management that goes with a security method when the caller named
// none: pre-shared key for WPA2-PSK, EAP for the enterprise methods, none for
// open, WEP and unknown networks.
wifi::KeyManagementMethod key_mgmt_for(wifi::SecurityMethod method) {
    switch (method) {
        case wifi::WPA2_PSK_METHOD:
            return wifi::WPA_PSK;
        case wifi::PEAP_MSCHAPV2_METHOD:
        case wifi::PEAP_GTC_METHOD:
        case wifi::EAP_FAST_METHOD:
        case wifi::EAP_TLS_METHOD:
        case wifi::EAP_METHOD:
            return wifi::WPA_EAP;
        default:
            return wifi::WPA_NONE;
    }
}

}  // namespace

WifiPlugin::WifiPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                       PluginRegistrar& registrar)
    : publisher_(publisher),
      logger_(logging::getLogger("VantaApi")),
      wifi_logger_(logging::getLogger("WifiPlugin")) {
    wifi_logger_.info("{}", "Registering for wifi events");
    registrar.register_event_handler(
        "WifiSignalLevelEvent",
        [this](const pubsub::PubSubMessage& message) { handle_signallevel_event(message); });
    registrar.register_event_handler(
        "WifiConnectionEvent",
        [this](const pubsub::PubSubMessage& message) { handle_connection_event(message); });
    registrar.register_event_handler(
        "WifiEnableStateEvent",
        [this](const pubsub::PubSubMessage& message) { handle_enable_state_event(message); });
    registrar.register_event_handler(
        "WifiConfigChangeEvent",
        [this](const pubsub::PubSubMessage& message) { handle_config_change_event(message); });
}

void WifiPlugin::update_wifi_status(vantaapi::WifiStatusType status, const std::string& reason) {
    vantaapi::VantaEvent event;
    event.mutable_new_wifi_status()->set_status(status);
    event.mutable_new_wifi_status()->set_reason(reason);
    publisher_.publish(event);
}

void WifiPlugin::update_wifi_signal_level(const std::string& level) {
    vantaapi::VantaEvent event;
    event.mutable_new_signal_level()->set_signal_level(map_wifi_signal_level(level));
    publisher_.publish(event);
}

void WifiPlugin::update_wifi_enable_state(bool enabled) {
    vantaapi::VantaEvent event;
    event.mutable_wifi_enable_state_event()->set_enabled(enabled);
    publisher_.publish(event);
}

vantaapi::WifiSignalLevelType WifiPlugin::map_wifi_signal_level(const std::string& text) {
    static const std::pair<const char*, vantaapi::WifiSignalLevelType> kLevels[] = {
        {"LEVEL_ONE", vantaapi::SIGNAL_LEVEL_ONE},
        {"LEVEL_TWO", vantaapi::SIGNAL_LEVEL_TWO},
        {"LEVEL_THREE", vantaapi::SIGNAL_LEVEL_THREE},
        {"LEVEL_FOUR", vantaapi::SIGNAL_LEVEL_FOUR},
    };
    for (const auto& [name, level] : kLevels) {
        if (text.find(name) != std::string::npos) {
            return level;
        }
    }
    return vantaapi::SIGNAL_NO_NETWORK;
}

void WifiPlugin::handle_signallevel_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() == 0) {
        wifi_logger_.info("{}", "vanta::WifiSignalLevelEvent::SIGNAL_LEVEL");
        update_wifi_signal_level(message.msg().data());
    }
}

void WifiPlugin::handle_connection_event(const pubsub::PubSubMessage& message) {
    const std::string& reason = message.msg().data();
    switch (message.msg().event()) {
        case 0:
            wifi_logger_.info("{}", "vanta::WifiConnectionEvent::CONNECTION_UP");
            update_wifi_status(vantaapi::WIFI_CONNECTED, reason);
            break;
        case 1:
            wifi_logger_.info("{}", "vanta::WifiConnectionEvent::CONNECTION_DOWN");
            update_wifi_status(vantaapi::WIFI_DISCONNECTED, reason);
            break;
        case 2:
            wifi_logger_.info("{}", "vanta::WifiConnectionEvent::CONNECTION_FAILED");
            update_wifi_status(vantaapi::WIFI_AUTHENTICATION_FAILED, reason);
            break;
        default:
            break;
    }
}

void WifiPlugin::handle_enable_state_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() == 0) {
        wifi_logger_.info("{}", "vanta::WifiEnableStateEvent::ENABLE_STATE");
        update_wifi_enable_state(message.msg().data() == "True");
    }
}

void WifiPlugin::handle_config_change_event(const pubsub::PubSubMessage& message) {
    if (message.msg().event() == 0) {
        wifi_logger_.info("{}", "vanta::WifiConfigChangeEvent::WIFI_CONFIG_CHANGED");
        vantaapi::VantaEvent event;
        event.mutable_wifi_config_change_event();
        publisher_.publish(event);
    }
}

wifi::ConfigInfo WifiPlugin::map_wifi_config_info(const vantaapi::WifiConfigInfo& config) {
    wifi::ConfigInfo info;
    info.set_ssid(config.ssid());
    info.set_frequency_band(map_wifi_frequency_band(config.frequency_band()));
    info.set_security_method(map_wifi_security_method(config.security_method()));
    wifi::KeyManagementMethod key_mgmt = map_wifi_key_mgmt_method(config.key_mgmt_method());
    if (key_mgmt == wifi::UNKNOWN) {
        key_mgmt = key_mgmt_for(info.security_method());
    }
    info.set_key_mgmt_method(key_mgmt);
    info.set_phase2(config.phase2());
    info.set_userid(config.userid());
    info.set_password(config.password());
    info.set_psk(config.psk());
    info.set_passphrase(config.passphrase());
    info.set_wep_key(config.wep_key());
    info.set_wep_tx_keyidx(config.wep_tx_keyidx());
    info.set_ca_cert_file(config.ca_cert_path());
    info.set_client_cert(config.client_cert_path());
    info.set_private_key(config.client_private_key_path());
    return info;
}

wifi::FrequencyBand WifiPlugin::map_wifi_frequency_band(vantaapi::FrequencyBand band) {
    return keep_in_range<wifi::FrequencyBand>(band, 1, 3, "frequency band");
}

vantaapi::FrequencyBand WifiPlugin::map_wifi_frequency_band(wifi::FrequencyBand band) {
    return keep_in_range<vantaapi::FrequencyBand>(band, 1, 3, "frequency band");
}

wifi::SecurityMethod WifiPlugin::map_wifi_security_method(vantaapi::SecurityMethod method) {
    return keep_in_range<wifi::SecurityMethod>(method, 1, 8, "security method");
}

vantaapi::SecurityMethod WifiPlugin::map_wifi_security_method(wifi::SecurityMethod method) {
    if (method == wifi::WEP_METHOD) {
        return vantaapi::UNKNOWN_METHOD;
    }
    return keep_in_range<vantaapi::SecurityMethod>(method, 1, 8, "security method");
}

wifi::KeyManagementMethod WifiPlugin::map_wifi_key_mgmt_method(
    vantaapi::KeyManagementMethod method) {
    return keep_in_range<wifi::KeyManagementMethod>(method, 1, 4, "key management method");
}

vantaapi::KeyManagementMethod WifiPlugin::map_wifi_key_mgmt_method(
    wifi::KeyManagementMethod method) {
    return keep_in_range<vantaapi::KeyManagementMethod>(method, 1, 4, "key management method");
}

vantaapi::WifiStatusType WifiPlugin::map_wifi_status(wifi::WifiStatusType status) {
    return keep_in_range<vantaapi::WifiStatusType>(status, 0, 12, "status");
}

vantaapi::WifiSignalLevelType WifiPlugin::map_signal_level(wifi::SignalLevelType level) {
    return keep_in_range<vantaapi::WifiSignalLevelType>(level, 1, 4, "signal level");
}

vantaapi::WifiSignalLevelType WifiPlugin::map_wifi_signal_level(wifi::SignalLevelType level) {
    return map_signal_level(level);
}

}  // namespace vanta
