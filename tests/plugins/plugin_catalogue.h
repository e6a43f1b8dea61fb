#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "plugins/all_plugins.h"

namespace vanta::testing {

using EventPublisher = GrpcServerPublisher<vantaapi::VantaEvent>;

// How the API service constructs one plugin.
using PluginFactory =
    std::function<std::shared_ptr<void>(Executor&, EventPublisher&, PluginRegistrar&)>;

// Plugins built from the fan-out and the registrar only. A plugin that wants
// other constructor arguments does not compile here.
template <typename Plugin>
PluginFactory plain() {
    return [](Executor&, EventPublisher& publisher, PluginRegistrar& registrar) {
        return std::static_pointer_cast<void>(std::make_shared<Plugin>(publisher, registrar));
    };
}

// Plugins that also take the executor, first.
template <typename Plugin>
PluginFactory with_executor() {
    return [](Executor& executor, EventPublisher& publisher, PluginRegistrar& registrar) {
        return std::static_pointer_cast<void>(
            std::make_shared<Plugin>(executor, publisher, registrar));
    };
}

// Every plugin, in the order in which the API service constructs them.
inline std::vector<PluginFactory> plugin_catalogue() {
    return {
        plain<UpgradeManagerPlugin>(),
        plain<UserDetectionPlugin>(),
        plain<PairingPlugin>(),
        with_executor<CalendarPlugin>(),
        with_executor<MeetingPlugin>(),
        plain<WifiPlugin>(),
        plain<NetworkStatusPlugin>(),
        plain<NimboRoomControlPlugin>(),
        with_executor<NimboStatusReporterPlugin>(),
        with_executor<ConfigurationPlugin>(),
        plain<CrashReportPlugin>(),
        plain<FeatureTogglePlugin>(),
        plain<ImageUpgradePlugin>(),
        plain<ImageDownloadPlugin>(),
        plain<OnPremUpgradePlugin>(),
        plain<UpgradeInfoPlugin>(),
        plain<UiMutePlugin>(),
        plain<UiServerMutePlugin>(),
        plain<VideoSignagePlugin>(),
        plain<UiVolumePlugin>(),
        plain<UiAudioPathPlugin>(),
        plain<ContentSharePlugin>(),
        plain<APModeEventPlugin>(),
        plain<APModeClientEventPlugin>(),
        plain<ServicePlugin>(),
        with_executor<SystemControllerPlugin>(),
        with_executor<AvatarPlugin>(),
        plain<SystemDevicePlugin>(),
        plain<ShareAvailablePlugin>(),
        plain<ProxyConfigEventPlugin>(),
        with_executor<AccountManagerPlugin>(),
        plain<KrellConfigManagerPlugin>(),
        with_executor<NimboBrandingPlugin>(),
        plain<KrellSecurityPlugin>(),
        with_executor<CallHistoryPlugin>(),
        with_executor<ShareGovernorPlugin>(),
        plain<CertificateManagerPlugin>(),
        plain<PhonebookPlugin>(),
        plain<Ieee8021xPlugin>(),
        plain<HdmiRxPlugin>(),
        with_executor<NfcPlugin>(),
        with_executor<CameraPlugin>(),
        with_executor<BluetoothPlugin>(),
    };
}

}  // namespace vanta::testing
