#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "plugins/all_plugins.h"

namespace vanta::testing {

using EventPublisher = GrpcServerPublisher<vantaapi::VantaEvent>;
using Plugins = std::vector<std::shared_ptr<void>>;

// One plugin, built as the API service builds it: from the fan-out and the
// registrar, after the executor when it takes one. A plugin that wants other
// constructor arguments does not compile here.
template <typename Plugin>
std::shared_ptr<void> make_plugin(Executor& executor, EventPublisher& publisher,
                                  PluginRegistrar& registrar) {
    if constexpr (std::is_constructible_v<Plugin, Executor&, EventPublisher&, PluginRegistrar&>) {
        return std::make_shared<Plugin>(executor, publisher, registrar);
    } else {
        return std::make_shared<Plugin>(publisher, registrar);
    }
}

// The plugins named, built in that order.
template <typename... Plugin>
Plugins make_plugins(Executor& executor, EventPublisher& publisher, PluginRegistrar& registrar) {
    return {make_plugin<Plugin>(executor, publisher, registrar)...};
}

// Every plugin, in the order in which the API service constructs them.
inline Plugins make_every_plugin(Executor& executor, EventPublisher& publisher,
                                 PluginRegistrar& registrar) {
    return make_plugins<
        UpgradeManagerPlugin, UserDetectionPlugin, PairingPlugin, CalendarPlugin, MeetingPlugin,
        WifiPlugin, NetworkStatusPlugin, NimboRoomControlPlugin, NimboStatusReporterPlugin,
        ConfigurationPlugin, CrashReportPlugin, FeatureTogglePlugin, ImageUpgradePlugin,
        ImageDownloadPlugin, OnPremUpgradePlugin, UpgradeInfoPlugin, UiMutePlugin,
        UiServerMutePlugin, VideoSignagePlugin, UiVolumePlugin, UiAudioPathPlugin,
        ContentSharePlugin, APModeEventPlugin, APModeClientEventPlugin, ServicePlugin,
        SystemControllerPlugin, AvatarPlugin, SystemDevicePlugin, ShareAvailablePlugin,
        ProxyConfigEventPlugin, AccountManagerPlugin, KrellConfigManagerPlugin, NimboBrandingPlugin,
        KrellSecurityPlugin, CallHistoryPlugin, ShareGovernorPlugin, CertificateManagerPlugin,
        PhonebookPlugin, Ieee8021xPlugin, HdmiRxPlugin, NfcPlugin, CameraPlugin, BluetoothPlugin>(
        executor, publisher, registrar);
}

}  // namespace vanta::testing
