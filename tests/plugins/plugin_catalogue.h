#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugins/all_plugins.h"

namespace vanta::testing {

using EventPublisher = GrpcServerPublisher<vantaapi::VantaEvent>;

// One plugin of the API service: its name, the bus topics it binds (in
// binding order) and how the service constructs it.
struct PluginEntry {
    std::string name;
    std::vector<std::string> topics;
    std::function<std::shared_ptr<void>(Executor&, EventPublisher&, PluginRegistrar&)> make;
};

// Plugins built from the fan-out and the registrar only. A plugin that wants
// other constructor arguments does not compile here.
template <typename Plugin>
PluginEntry plain(std::string name, std::vector<std::string> topics) {
    return {
        std::move(name), std::move(topics),
        [](Executor&, EventPublisher& publisher, PluginRegistrar& registrar) {
            return std::static_pointer_cast<void>(std::make_shared<Plugin>(publisher, registrar));
        }};
}

// Plugins that also take the executor, first.
template <typename Plugin>
PluginEntry with_executor(std::string name, std::vector<std::string> topics) {
    return {std::move(name), std::move(topics),
            [](Executor& executor, EventPublisher& publisher, PluginRegistrar& registrar) {
                return std::static_pointer_cast<void>(
                    std::make_shared<Plugin>(executor, publisher, registrar));
            }};
}

// Every plugin, in the order in which the API service constructs them.
inline std::vector<PluginEntry> plugin_catalogue() {
    return {
        plain<UpgradeManagerPlugin>("UpgradeManagerPlugin", {"UpgradeEvent"}),
        plain<UserDetectionPlugin>("UserDetectionPlugin", {"UserDetectionEvent"}),
        plain<PairingPlugin>("PairingPlugin",
                             {"NimboUltrasoundEvent", "GuestTokenEvent", "ManualPairEvent"}),
        with_executor<CalendarPlugin>("CalendarPlugin", {}),
        with_executor<MeetingPlugin>("MeetingPlugin", {"MeetingListEvent"}),
        plain<WifiPlugin>("WifiPlugin", {"WifiSignalLevelEvent", "WifiConnectionEvent",
                                         "WifiEnableStateEvent", "WifiConfigChangeEvent"}),
        plain<NetworkStatusPlugin>("NetworkStatusPlugin", {"NetworkStatusEvent"}),
        plain<NimboRoomControlPlugin>("NimboRoomControlPlugin", {"NimboRoomControl"}),
        with_executor<NimboStatusReporterPlugin>("NimboStatusReporterPlugin", {}),
        with_executor<ConfigurationPlugin>("ConfigurationPlugin", {}),
        plain<CrashReportPlugin>("CrashReportPlugin", {"ProcessEvent"}),
        plain<FeatureTogglePlugin>("FeatureTogglePlugin", {"FeatureToggleEvent"}),
        plain<ImageUpgradePlugin>("ImageUpgradePlugin", {"ImageUpgradeEvent"}),
        plain<ImageDownloadPlugin>("ImageDownloadPlugin", {"ImageDownloadEvent"}),
        plain<OnPremUpgradePlugin>("OnPremUpgradePlugin", {"OnPremUpgradeEvent"}),
        plain<UpgradeInfoPlugin>("UpgradeInfoPlugin", {"UpgradeInfoEvent"}),
        plain<UiMutePlugin>("UiMutePlugin", {"UiMuteEvent"}),
        plain<UiServerMutePlugin>("UiServerMutePlugin", {"UiServerMuteEvent"}),
        plain<VideoSignagePlugin>("VideoSignagePlugin", {"VideoSignageEvent"}),
        plain<UiVolumePlugin>("UiVolumePlugin", {"UiVolumeEvent"}),
        plain<UiAudioPathPlugin>("UiAudioPathPlugin", {"UiAudioPathEvent"}),
        plain<ContentSharePlugin>("ContentSharePlugin", {"ContentShareEvent"}),
        plain<APModeEventPlugin>("APModeEventPlugin", {"APModeEvent"}),
        plain<APModeClientEventPlugin>("APModeClientEventPlugin", {"APModeClientEvent"}),
        plain<ServicePlugin>("ServicePlugin", {"ServiceEvent"}),
        with_executor<SystemControllerPlugin>("SystemControllerPlugin", {}),
        with_executor<AvatarPlugin>("AvatarPlugin", {}),
        plain<SystemDevicePlugin>("SystemDevicePlugin", {"DeviceEvent"}),
        plain<ShareAvailablePlugin>("ShareAvailablePlugin", {"ShareAvailableEvent"}),
        plain<ProxyConfigEventPlugin>("ProxyConfigEventPlugin", {"ProxyConfigEvent"}),
        with_executor<AccountManagerPlugin>("AccountManagerPlugin", {}),
        plain<KrellConfigManagerPlugin>("KrellConfigManagerPlugin", {"KrellConfigManagerEvent"}),
        with_executor<NimboBrandingPlugin>("NimboBrandingPlugin", {}),
        plain<KrellSecurityPlugin>("KrellSecurityPlugin", {"KrellSecurityEvent"}),
        with_executor<CallHistoryPlugin>("CallHistoryPlugin", {}),
        with_executor<ShareGovernorPlugin>("ShareGovernorPlugin", {}),
        plain<CertificateManagerPlugin>("CertificateManagerPlugin", {}),
        plain<PhonebookPlugin>("PhonebookPlugin", {}),
        plain<Ieee8021xPlugin>("Ieee8021xPlugin", {"Ieee8021xEvent"}),
        plain<HdmiRxPlugin>("HdmiRxPlugin", {"HDMIRxEvent"}),
        with_executor<NfcPlugin>("NfcPlugin", {}),
        with_executor<CameraPlugin>("CameraPlugin", {}),
        with_executor<BluetoothPlugin>("BluetoothPlugin", {}),
    };
}

}  // namespace vanta::testing
