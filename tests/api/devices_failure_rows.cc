#include "failure_rows.h"

namespace vanta::testing {

// With no backend: the volume, feature and system-controller operations
// answer their own texts, the guarded calls the mapped UNAVAILABLE of the
// client's error, the reset and ringer operations their logged texts, and the
// unguarded ones gRPC's UNKNOWN. This model has no wired sharing, so the HDMI
// state and statistics are refused before any backend call.
std::vector<FailureRow> devices_failure_rows() {
    return {
        VANTA_FAILURE_ROW(GetVersion, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(GetUpgradeInfo, UNAVAILABLE, "GetUpgradeInfo: [*"),
        VANTA_FAILURE_ROW(GetUpgradeState, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(FactoryReset, UNAVAILABLE, "reset_client: FactoryReset failed"),
        VANTA_FAILURE_ROW(RequestFactoryReset, UNAVAILABLE, "RequestFactoryReset: [*"),
        VANTA_FAILURE_ROW(RestartNetwork, UNAVAILABLE, "resetclient: RestartNetwork failed"),
        VANTA_FAILURE_ROW(Reboot, UNAVAILABLE, "reset_client: Reboot failed"),
        VANTA_FAILURE_ROW(Shutdown, UNAVAILABLE, "resetclient: Shutdown failed"),
        VANTA_FAILURE_ROW(ClearOobState, UNAVAILABLE, "Get clear oob state client FAILED"),
        VANTA_FAILURE_ROW(InstallLocalPackage, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(GetHdmiState, UNIMPLEMENTED, "GetHdmiState NOT SUPPORTED"),
        VANTA_FAILURE_ROW(StartLocalWiredShare, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(StopLocalWiredShare, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(GetLocalWiredShareStatistics, UNIMPLEMENTED,
                          "GetLocalWiredShareStatistics NOT SUPPORTED"),
        VANTA_FAILURE_ROW(GetUltraSoundVolume, UNAVAILABLE,
                          "GetUltraSoundVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(SetUltraSoundVolume, UNAVAILABLE,
                          "GetUltraSoundVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(VolumeUp, UNAVAILABLE, "VolumeUp volumemgr client FAILED"),
        VANTA_FAILURE_ROW(VolumeDown, UNAVAILABLE, "VolumeDown volumemgr client FAILED"),
        VANTA_FAILURE_ROW(SetVolume, UNAVAILABLE, "SetVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(GetCurrentVolume, UNAVAILABLE,
                          "GetCurrentVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(SetRingerVolume, UNAVAILABLE, "SetRingerVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(GetRingerVolume, UNAVAILABLE, "GetRingerVolume volumemgr client FAILED"),
        VANTA_FAILURE_ROW(SetAudioMute, UNAVAILABLE, "SetAudioMute volumemgr client FAILED"),
        VANTA_FAILURE_ROW(ToggleAudioMute, UNAVAILABLE, "ToggleAudioMute volumemgr client FAILED"),
        VANTA_FAILURE_ROW(IsAudioMute, UNAVAILABLE, "IsAudioMute volumemgr client FAILED"),
        VANTA_FAILURE_ROW(StartRinger, UNAVAILABLE, "StartRinger ringer client FAILED"),
        VANTA_FAILURE_ROW(StopRinger, UNAVAILABLE, "StopRinger ringer client FAILED"),
        VANTA_FAILURE_ROW(EnableFeature, UNAVAILABLE, "EnableFeature featuremanager client FAILED"),
        VANTA_FAILURE_ROW(DisableFeature, UNAVAILABLE,
                          "DisableFeature featuremanager client FAILED"),
        VANTA_FAILURE_ROW(GetFeature, UNAVAILABLE, "GetFeature featuremanager client FAILED"),
        VANTA_FAILURE_ROW(GetAllFeatures, UNAVAILABLE,
                          "GetAllFeatures featuremanager client FAILED"),
        VANTA_FAILURE_ROW(GetSystemState, UNAVAILABLE, "Get system state client FAILED"),
        VANTA_FAILURE_ROW(GetDeviceState, UNAVAILABLE, "Get device state client FAILED"),
        VANTA_FAILURE_ROW(Wired8021xGetConfigInfo, UNAVAILABLE, "Wired8021xGetConfigInfo: [*"),
        VANTA_FAILURE_ROW(GetScreenBrightness, UNAVAILABLE, "GetScreenBrightness: [*"),
        VANTA_FAILURE_ROW(SetScreenBrightness, UNAVAILABLE, "SetScreenBrightness: [*"),
        VANTA_FAILURE_ROW(GetScreenBacklight, UNAVAILABLE, "GetScreenBacklight: [*"),
        VANTA_FAILURE_ROW(SetScreenBacklight, UNAVAILABLE, "SetScreenBacklight: [*"),
        VANTA_FAILURE_ROW(SetIeee8021xState, UNAVAILABLE, "SetIeee8021xState: [*"),
        VANTA_FAILURE_ROW(GetIeee8021xState, UNAVAILABLE, "GetIeee8021xState: [*"),
        VANTA_FAILURE_ROW(StartDownload, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(PostponeDownload, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(SetUpgradeLimitHour, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(SetUpgradeChannel, UNKNOWN, "Unexpected error in RPC handling"),
        VANTA_FAILURE_ROW(ShowAvailableAudioPath, UNAVAILABLE, "ShowAvailableAudioPath: [*"),
        VANTA_FAILURE_ROW(SetAudioPath, UNAVAILABLE, "{}:SetAudioPath fail"),
        VANTA_FAILURE_ROW(ShowCurrentAudioPath, UNAVAILABLE, "{}:SetAudioPath fail"),
        VANTA_FAILURE_ROW(SetAudioHub, UNAVAILABLE, "{}:SetAudioHub fail"),
        VANTA_FAILURE_ROW(IsAudioHubEnabled, UNAVAILABLE, "IsAudioHubEnabled: [*"),
    };
}

}  // namespace vanta::testing
