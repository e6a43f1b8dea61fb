#pragma once

// Names and addresses of the services the API side talks to. Addresses
// without "unix:" are service names that the clients resolve through the
// service registry.

#include <chrono>
#include <string>
#include <vector>

namespace vanta {

inline const std::string kPublishServiceAddress = "pubservice";
inline const std::string kPublishServiceName = "Publish Service";
inline const std::string kSubscribeServiceAddress = "subservice";
inline const std::string kSubscribeServiceName = "Subscribe Service";
inline const std::string kNimboRoomControlAddress = "nimboroomservice";
inline const std::string kNimboRoomControlServiceName = "Nimbo Room Service";
inline const std::string kNimbodAppName = "nimbod";
inline const std::string kMediadAppName = "mediad";
inline const std::string kMediaSessiondAppName = "mediasessiond";
inline const std::string kKrelldAppName = "krelld";
inline const std::string kCondorAppName = "condor";
inline const std::string kNimboStatusReporterServiceAddress = "nimbostatusreporter_service";
inline const std::string kNimboStatusReporterServiceName = "Nimbo Status Reporter Service";
inline const std::string kVolumeMgrAddress = "unix:/tmp/volumemgr_service";
inline const std::string kLocalDiskBundleDir = "/tmp";
inline const std::string kLocalDiskBundleName = "local_requested_prb.tar.gz";
inline const std::string kLocalDiskBundlePath = kLocalDiskBundleDir + "/" + kLocalDiskBundleName;
inline const std::string kProblemReportStatusAddress = "unix:/tmp/problemreportstatus_service";
inline const std::string kEnabled = "1";
inline const std::string kDisabled = "0";
inline const std::string kConfigManagerServiceName = "Config Manager";
inline const std::string kConfigManagerServiceAddress = "unix:/tmp/configmanager";
inline const std::string kKrellConfigManagerServiceName = "KrellConfigManager";
inline const std::string kKrellConfigManagerServiceAddress = "unix:/tmp/krellconfigmanager";
inline const std::string kRingerName = "Ringer Service";
inline const std::string kRingerAddress = "unix:/tmp/ringer";

// The bus topics the API service subscribes to, in this order. Every topic is
// bound by exactly one plugin.
inline const std::vector<std::string> kPubSubEventTopics = {
    "UpgradeEvent",
    "UserDetectionEvent",
    "NimboUltrasoundEvent",
    "MeetingListEvent",
    "WifiConnectionEvent",
    "WifiSignalLevelEvent",
    "WifiEnableStateEvent",
    "WifiConfigChangeEvent",
    "NetworkStatusEvent",
    "NimboRoomControl",
    "KrellConfigManagerEvent",
    "ProcessEvent",
    "FeatureToggleEvent",
    "ImageUpgradeEvent",
    "ImageDownloadEvent",
    "OnPremUpgradeEvent",
    "UpgradeInfoEvent",
    "UiMuteEvent",
    "UiServerMuteEvent",
    "VideoSignageEvent",
    "UiVolumeEvent",
    "ContentShareEvent",
    "APModeEvent",
    "APModeClientEvent",
    "ServiceEvent",
    "DeviceEvent",
    "ShareAvailableEvent",
    "ProxyConfigEvent",
    "KrellSecurityEvent",
    "GuestTokenEvent",
    "ManualPairEvent",
    "Ieee8021xEvent",
    "HDMIRxEvent",
    "UiAudioPathEvent",
};

// Pause between attempts to subscribe while the bus refuses.
inline constexpr std::chrono::milliseconds kPubSubWait{100};

}  // namespace vanta
