#include "failure_rows.h"

namespace vanta::testing {

namespace {
const char* const kUnexpected = "Unexpected error in RPC handling";
}  // namespace

std::vector<FailureRow> network_failure_rows() {
    return {
        // Cloud configuration.
        VANTA_FAILURE_ROW(GetAccountInfo, UNAVAILABLE,
                          "GetAccountInfo configuration client FAILED"),
        VANTA_FAILURE_ROW(GetSharedAccountInfo, UNAVAILABLE,
                          "GetSharedAccountInfo configuration client FAILED"),
        VANTA_FAILURE_ROW(GetGlintServiceMap, OK, ""),
        VANTA_FAILURE_ROW(GetPairingId, UNKNOWN, kUnexpected),
        // On-premises security.
        VANTA_FAILURE_ROW(InstallCTL, UNAVAILABLE, "InstallCTL krell security client FAILED"),
        VANTA_FAILURE_ROW(InstallITL, UNAVAILABLE, "InstallITL krell security client FAILED"),
        VANTA_FAILURE_ROW(ResetTrustList, UNAVAILABLE,
                          "ResetTrustList krell security client FAILED"),
        VANTA_FAILURE_ROW(RequireSignedFiles, UNAVAILABLE,
                          "RequireSignedFiles krell security client FAILED"),
        VANTA_FAILURE_ROW(IsServerSecure, UNAVAILABLE,
                          "IsServerSecure krell security client FAILED"),
        VANTA_FAILURE_ROW(VerifyConfigFile, UNAVAILABLE,
                          "VerifyConfigFile krell security client FAILED"),
        VANTA_FAILURE_ROW(VerifyLoadsFile, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(StartCapf, UNAVAILABLE, "StartCapf krell security client FAILED"),
        VANTA_FAILURE_ROW(GetTrustListInfo, UNAVAILABLE,
                          "GetTrustListInfo krell security client FAILED"),
        VANTA_FAILURE_ROW(GetTrustListItem, UNAVAILABLE,
                          "GetTrustListItem krell security client FAILED"),
        VANTA_FAILURE_ROW(GetDeviceCertificateStatus, UNAVAILABLE,
                          "GetCertificateStatus krell security client FAILED"),
        // Network status reporter and network manager.
        VANTA_FAILURE_ROW(GetNetworkStatusReport, UNAVAILABLE,
                          "GetNetworkStatusReport networkstatusreporter client FAILED"),
        VANTA_FAILURE_ROW(GetProxyInfo, UNAVAILABLE, "GetProxyInfo: networkmanager client FAILED"),
        VANTA_FAILURE_ROW(SetProxyConfig, UNAVAILABLE,
                          "SetProxyConfig: networkmanager SetProxyUrl FAILED"),
        VANTA_FAILURE_ROW(SetIpv4Config, UNAVAILABLE, "SetIpv4Config: [*"),
        VANTA_FAILURE_ROW(SetStaticDnsConfig, UNAVAILABLE, "SetStaticDnsConfig: [*"),
        VANTA_FAILURE_ROW(ClearStaticDnsConfig, UNAVAILABLE, "ClearStaticDnsConfig: [*"),
        VANTA_FAILURE_ROW(SetVlanConfig, UNAVAILABLE, "SetVlanConfig: [*"),
        VANTA_FAILURE_ROW(GetVlanConfig, UNAVAILABLE, "GetVlanConfig: [*"),
        // Wi-Fi.
        VANTA_FAILURE_ROW(EnableWifi, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(DisableWifi, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(IsWifiEnabled, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(SetWifiConfig, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(GetWifiConfig, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(ClearWifiConfig, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(GetWifiStatus, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(GetWifiSupplicantStatus, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(GetWifiSTAStatistics, UNAVAILABLE,
                          "GetWifiSTAStatistics wifid client FAILED"),
        VANTA_FAILURE_ROW(GetWifiNetworkList, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(StartWifiScan, UNAVAILABLE, "StartWifiScan wifid client FAILED"),
        VANTA_FAILURE_ROW(StopWifiScan, UNAVAILABLE, "StopWifiScan wifid client FAILED"),
        VANTA_FAILURE_ROW(IsWifiScanStarted, UNAVAILABLE, "IsWifiScanStarted: [*"),
        // Access point.
        VANTA_FAILURE_ROW(IsAPModeEnabled, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(SetAPModeEnabled, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(GetLocalAPConfig, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(SetLocalAPConfig, UNKNOWN, kUnexpected),
        // Ultrasound. A default request asks to switch the beacon off.
        VANTA_FAILURE_ROW(GetPairedUsers, UNAVAILABLE, "GetPairedUsers client FAILED"),
        VANTA_FAILURE_ROW(GetBeaconStatus, UNAVAILABLE, "GetServiceState client FAILED"),
        VANTA_FAILURE_ROW(SetBeaconStatus, UNAVAILABLE, "Nimbo Ultrasound: disable client FAILED"),
        VANTA_FAILURE_ROW(GetLatestPairingToken, UNAVAILABLE,
                          "GetLatestPairingToken client FAILED"),
        // Device configuration.
        VANTA_FAILURE_ROW(GetLanguage, UNAVAILABLE, "GetLanguage: configmanager client FAILED"),
        VANTA_FAILURE_ROW(SetLanguage, UNAVAILABLE, "SetLanguage configmanager client FAILED"),
        VANTA_FAILURE_ROW(GetTimezone, UNAVAILABLE, "GetTimezone: configmanager client FAILED"),
        VANTA_FAILURE_ROW(SetTimezone, UNAVAILABLE, "SetTimezone configmanager client FAILED"),
        VANTA_FAILURE_ROW(GetGeoServiceInfo, UNAVAILABLE, "GetGeoServiceInfo: [*"),
        VANTA_FAILURE_ROW(GetGuiSettingsEnabled, UNAVAILABLE,
                          "GetGuiSettingsEnabled: configmanager client FAILED"),
        VANTA_FAILURE_ROW(GetRingtoneList, UNAVAILABLE,
                          "GetRingtoneList configmanager client FAILED"),
        VANTA_FAILURE_ROW(GetRingTone, UNAVAILABLE, "GetRingTone configmanager client FAILED"),
        VANTA_FAILURE_ROW(SetRingTone, UNAVAILABLE, "SetRingTone configmanager client FAILED"),
        // On-premises configuration; this model runs no on-premises call
        // control.
        VANTA_FAILURE_ROW(GetKrellDeviceConfigs, UNIMPLEMENTED,
                          "GetKrellDeviceConfigs is not supported"),
        VANTA_FAILURE_ROW(GetKRELLTftpAddress, UNIMPLEMENTED,
                          "GetKRELLTftpAddress is not supported"),
        VANTA_FAILURE_ROW(GetKRELLDeviceConfigValue, UNIMPLEMENTED,
                          "GetKRELLDeviceConfigValue is not supported"),
        VANTA_FAILURE_ROW(SetKRELLAutoConfig, UNAVAILABLE,
                          "SetKRELLAutoConfig configmanager client FAILED"),
        VANTA_FAILURE_ROW(StartOnPremUpgrade, UNKNOWN, kUnexpected),
        VANTA_FAILURE_ROW(PostponeOnPremUpgrade, UNKNOWN, kUnexpected),
        // Avatar and media session.
        VANTA_FAILURE_ROW(GetAvatar, UNAVAILABLE, "GetAvatar: [*"),
        VANTA_FAILURE_ROW(SubscribeRemoteVideo, UNAVAILABLE, "SubscribeRemoteVideo: [*"),
        VANTA_FAILURE_ROW(UnSubscribeRemoteVideo, UNAVAILABLE, "UnSubscribeRemoteVideo: [*"),
    };
}

}  // namespace vanta::testing
