#pragma once

// Names and addresses of the services the API side talks to, as the device's
// endpoint catalogue holds them. Addresses without "unix:" are socket names
// that the clients look up in the service registry first.

#include <chrono>
#include <string>
#include <vector>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta {

inline const std::string kPublishServiceAddress = socket_name(device_endpoints().pubservice);
inline const std::string kPublishServiceName = device_endpoints().pubservice.service_name;
inline const std::string kSubscribeServiceAddress = socket_name(device_endpoints().subservice);
inline const std::string kSubscribeServiceName = device_endpoints().subservice.service_name;
inline const std::string kNimboRoomControlAddress =
    socket_name(device_endpoints().nimboroomcontrol);
inline const std::string kNimboRoomControlServiceName =
    device_endpoints().nimboroomcontrol.service_name;
inline const std::string kNimbodAppName = "nimbod";
inline const std::string kMediadAppName = "mediad";
inline const std::string kMediaSessiondAppName = "mediasessiond";
inline const std::string kKrelldAppName = "krelld";
inline const std::string kCondorAppName = "condor";
inline const std::string kNimboStatusReporterServiceAddress =
    socket_name(device_endpoints().nimbostatusreporter);
inline const std::string kNimboStatusReporterServiceName =
    device_endpoints().nimbostatusreporter.service_name;
inline const std::string kVolumeMgrAddress = device_endpoints().volumemgr.address;
inline const std::string kLocalDiskBundleDir = "/tmp";
inline const std::string kLocalDiskBundleName = "local_requested_prb.tar.gz";
inline const std::string kLocalDiskBundlePath = kLocalDiskBundleDir + "/" + kLocalDiskBundleName;
inline const std::string kProblemReportStatusAddress =
    device_endpoints().problemreportstatus.address;
inline const std::string kEnabled = "1";
inline const std::string kDisabled = "0";
inline const std::string kConfigManagerServiceName = device_endpoints().configmanager.service_name;
inline const std::string kConfigManagerServiceAddress = device_endpoints().configmanager.address;
inline const std::string kKrellConfigManagerServiceName =
    device_endpoints().krellconfigmanager.service_name;
inline const std::string kKrellConfigManagerServiceAddress =
    device_endpoints().krellconfigmanager.address;
inline const std::string kRingerName = device_endpoints().ringer.service_name;
inline const std::string kRingerAddress = device_endpoints().ringer.address;

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
