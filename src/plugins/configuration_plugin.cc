#include "plugins/configuration_plugin.h"

#include "runtime/logging/loggers.h"

namespace vanta {

ConfigurationPlugin::ConfigurationPlugin(Executor& executor,
                                         GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar&, const Endpoint& configmanager)
    : publisher_(publisher),
      logger_(logging::getLogger("VantaApi")),
      client_(configmanager::create_client(executor, configmanager)) {
    client_->SetObserver([this](const configmanager::Event& event) { event_handler(event); },
                         [] {});
}

void ConfigurationPlugin::event_handler(const configmanager::Event& event) {
    using Api = vantaapi::ConfigManagerEvent;
    switch (event.what()) {
        case configmanager::LOCALE_CHANGED:
            logger_.info("Plugin ConfigManagerEvent Locale Changed");
            publish_configmanager_event(Api::LANGUAGE_CHANGED);
            return;
        case configmanager::TIMEZONE_CHANGED:
            logger_.info("Plugin ConfigManagerEvent Timezone Changed");
            publish_configmanager_event(Api::TIMEZONE_CHANGED);
            return;
        case configmanager::GEO_SERVICE_INFO_CHANGED:
            logger_.info("Plugin ConfigManagerEvent GeoServiceInfo Changed");
            publish_configmanager_event(Api::GEO_SERVICE_INFO_CHANGED);
            return;
        case configmanager::RINGTONE_CHANGED:
            // The API has no event for it.
            logger_.info("Plugin ConfigManagerEvent RingTone Changed");
            return;
        case configmanager::GUI_SETTINGS_ENABLED_CHANGED:
            logger_.info("Plugin ConfigManagerEvent GuiSettingsEnabled Changed");
            publish_configmanager_event(Api::GUI_SETTINGS_ENABLED_CHANGED);
            return;
        default:
            return;
    }
}

void ConfigurationPlugin::publish_configmanager_event(
    vantaapi::ConfigManagerEvent::ChangeType what) {
    vantaapi::VantaEvent event;
    event.mutable_config_manager_event()->set_what(what);
    publisher_.publish(event);
}

}  // namespace vanta
