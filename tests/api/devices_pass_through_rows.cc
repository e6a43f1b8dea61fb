#include "pass_through_rows.h"

namespace vanta::testing {

std::vector<PassThroughRow> devices_pass_through_rows() {
    return {
        // Volume manager. A volume request keeps which value it carries, even 0.
        row("GetUltraSoundVolume", "volume: 5", "volumemgr.GetUltraSoundVolume", "volume: 6",
            "volume: 5", "volume: 6"),
        row("SetUltraSoundVolume", "volume_ticks: 2", "volumemgr.SetUltraSoundVolume", "volume: 7",
            "volume_ticks: 2", "volume: 7"),
        row("VolumeUp", "volume_ticks: 3", "volumemgr.VolumeUp", "volume: 8", "volume_ticks: 3",
            "volume: 8"),
        row("VolumeDown", "volume_ticks: 0", "volumemgr.VolumeDown", "volume: 9", "volume_ticks: 0",
            "volume: 9"),
        row("SetVolume", "volume: 30", "volumemgr.SetVolume", "volume: 31", "volume: 30",
            "volume: 31"),
        row("GetCurrentVolume", "", "volumemgr.GetCurrentVolume", "volume: 50", "", "volume: 50"),
        row("SetRingerVolume", "volume: 70", "volumemgr.SetRingerVolume", "volume: 71",
            "volume: 70", "volume: 71"),
        row("GetRingerVolume", "", "volumemgr.GetRingerVolume", "volume: 72", "", "volume: 72"),
        row("SetAudioMute", "mute_state: true method: kMuteMethodButton", "volumemgr.SetAudioMute",
            "is_mute: true", "mute_state: true method: kUiApp", "is_mute: true"),
        row("SetAudioMute", "method: kMuteMethodServer", "volumemgr.SetAudioMute", "",
            "method: kServer", ""),
        row("SetAudioMute", "mute_state: true method: 77", "volumemgr.SetAudioMute",
            "is_mute: true", "mute_state: true", "is_mute: true"),
        row("ToggleAudioMute", "", "volumemgr.ToggleAudioMute", "is_mute: true", "",
            "is_mute: true"),
        row("IsAudioMute", "", "volumemgr.IsAudioMute", "", "", ""),
        row("SetAudioPath",
            "index: 2 device: BLUETOOTH_HEADSET name: 'Buds' address: 'aa:bb' device_state: "
            "DEVICE_STATE_CONNECTING",
            "volumemgr.SetVolumeControlPath", "success: true",
            "index: 2 path: BLUETOOTH_HEADSET name: 'Buds' address: 'aa:bb' device_state: "
            "DEVICE_STATE_CONNECTING",
            "is_success: true"),
        row("ShowCurrentAudioPath", "", "volumemgr.CurrentVolumeControlPath",
            "index: 3 path: USB_HEADSET name: 'Jabra' address: 'usb-1' device_state: "
            "DEVICE_STATE_DISCONNECTING",
            "",
            "index: 3 device: USB_HEADSET name: 'Jabra' address: 'usb-1' device_state: "
            "DEVICE_STATE_DISCONNECTING"),
        row("ShowAvailableAudioPath", "", "volumemgr.AvailableVolumeControlPath",
            "device_list { index: 1 path: INTERNAL_SPEAKER_MIC device_state: "
            "DEVICE_STATE_CONNECTED } device_list { index: 4 path: USB_HEADSET name: 'Jabra' "
            "address: 'usb-4' }",
            "",
            "device_list { index: 1 device: INTERNAL_SPEAKER_MIC device_state: "
            "DEVICE_STATE_CONNECTED } device_list { index: 4 device: USB_HEADSET name: 'Jabra' "
            "address: 'usb-4' }"),
        row("SetAudioHub", "audio_hub_state: true", "volumemgr.SetAudioHub", "is_enabled: true",
            "audio_hub_state: true", "is_enabled: true"),
        row("IsAudioHubEnabled", "", "volumemgr.IsAudioHubEnabled", "is_enabled: true", "",
            "is_enabled: true"),
        // Ringer and reset.
        row("StartRinger", "name: 'Chime'", "ringer.StartRinger", "success: true", "name: 'Chime'",
            "success: true"),
        row("StopRinger", "", "ringer.StopRinger", "", "", ""),
        row("FactoryReset", "", "reset.FactoryReset", "success: true", "", "success: true"),
        row("RequestFactoryReset", "", "reset.RequestFactoryReset", "success: true", "",
            "success: true"),
        row("RestartNetwork", "", "reset.RestartNetwork", "", "", ""),
        row("Shutdown", "", "reset.Shutdown", "success: true", "", "success: true"),
        // System controller.
        row("Reboot", "force: true", "systemcontroller.Reboot", "success: true", "force: true",
            "success: true"),
        row("ClearOobState", "", "systemcontroller.ClearOobState", "", "", ""),
        row("GetSystemState", "", "systemcontroller.GetState", "state: AWAKE reason: MEETING", "",
            "state: AWAKE"),
        row("GetDeviceState", "", "systemcontroller.GetDeviceState", "device_state: OUT_OF_BOX", "",
            "state: OUT_OF_BOX"),
        // Screen.
        row("GetScreenBrightness", "", "screensetting.GetScreenBrightness",
            "status { success: true } brightness_percentage: 62.5", "",
            "success: true brightness_percentage: 62.5"),
        row("SetScreenBrightness", "brightness_percentage: 40", "screensetting.SetScreenBrightness",
            "success: true", "brightness_percentage: 40", "success: true"),
        row("GetScreenBacklight", "", "screensetting.GetScreenBacklight",
            "status { failure_reason: 'off' } backlight_state: 0.25", "", "backlight_state: 0.25"),
        row("SetScreenBacklight", "backlight_state: 0.5", "screensetting.SetScreenBacklight", "",
            "backlight_state: 0.5", ""),
        // HDMI input.
        row("StartLocalWiredShare", "", "hdmirx.StartLocalWiredShare", "status: SUCCESS", "",
            "success: true"),
        row("StopLocalWiredShare", "", "hdmirx.StopLocalWiredShare", "status: FAILURE", "", ""),
        // 802.1X.
        row("Wired8021xGetConfigInfo", "", "ieee8021x.GetIeee8021xConfig",
            "status { success: true } config { ca_cert_path: '/ca' identity: 'room-4' "
            "ca_cert_handle: 'ca-7' client_cert_handle: 'client-9' }",
            "", "ca_cert_handle: 'ca-7' client_cert_handle: 'client-9'"),
        row("GetIeee8021xState", "", "ieee8021x.GetIeee8021xState", "state { enabled: true }", "",
            "enabled: true"),
        row("SetIeee8021xState", "enabled: true", "ieee8021x.SetIeee8021xState", "success: true",
            "enabled: true", "success: true"),
        // Upgrades: the commands without an answer succeed by returning.
        row("GetVersion", "", "upgrademanager.GetVersionInfo", "version: '3.1.0'", "",
            "version: '3.1.0'"),
        row("GetUpgradeInfo", "", "upgrademanager.GetUpgradeInfo", "channel: 'preview'", "",
            "channel: 'preview'"),
        row("GetUpgradeState", "", "upgrademanager.GetUpgradeState", "state: DOWNLOADING", "",
            "state: IN_DOWNLOADING"),
        row("InstallLocalPackage", "package_file_name: '/media/usb/image.pkg'",
            "upgrademanager.InstallLocalPackage", "status: true",
            "package_file_name: '/media/usb/image.pkg'", "success: true"),
        row("StartDownload", "", "upgrademanager.StartDownload", "", "", "success: true"),
        row("PostponeDownload", "postpone_seconds: 900", "upgrademanager.PostponeDownload", "",
            "postpone_seconds: 900", "success: true"),
        row("SetUpgradeLimitHour", "limit_hour: 2", "upgrademanager.SetUpgradeLimitHour", "",
            "upgrade_limit_hour: 2", "success: true"),
        row("SetUpgradeChannel", "channel: 'stable'", "upgrademanager.SetUpgradeChannel", "",
            "channel: 'stable'", "success: true"),
        // Features: the answer is the backend's feature.
        row("EnableFeature", "feature_name: 'x'", "featuremanager.EnableFeature", "success: true",
            "feature_name: 'x'", "success: true"),
        row("DisableFeature", "feature_name: 'y'", "featuremanager.DisableFeature", "",
            "feature_name: 'y'", ""),
        row("GetFeature", "feature_name: 'signage' enabled: false", "featuremanager.GetFeatureInfo",
            "feature_name: 'Signage' feature_state: ENABLE feature_type: PRODUCTION",
            "feature_name: 'signage'", "feature_name: 'Signage' enabled: true"),
        row("GetAllFeatures", "", "featuremanager.GetAllFeatures", "", "", ""),
    };
}

}  // namespace vanta::testing
