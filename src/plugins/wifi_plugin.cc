#include "plugins/wifi_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

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

}  // namespace vanta
