#include "pass_through_rows.h"

namespace vanta::testing {

namespace {

// The report's fields, as the reporter and the API both spell them.
const std::string kNetworkStatusReport =
    "state: CONNECTED active_interface: WIFI error: WIFI_SIGNAL_NO_NETWORK ipaddress: '10.0.0.7' "
    "subnet_mask: '255.255.255.0' default_gateway: '10.0.0.1' apmode: true ssid: 'office' "
    "ieee8021xstatus: SUCCESS static_configured: true dns_mode: DNS_MANUAL dns_domain_name: "
    "'example.org' dns_primary_server: '10.0.0.2' dns_secondary_server: '10.0.0.3' "
    "dns_tertiary_server: '10.0.0.4' proxy_url: 'http://proxy:3128' proxy_username: 'user' "
    "proxy_password: 'pw' proxy_mode: PROXY_MANUAL ieee8021xmethod: EAP_FAST dhcp_tftp_addresses: "
    "'10.0.0.9' vlan_mode: MANUAL vlan_id: 12 proxy_pacurl: 'http://proxy/pac' "
    "ipv4_address_duplicated: true";

const std::string kAccount =
    "uuid: 'a-1' display_name: 'Board room' org_id: 'o-1' org_display_name: 'Example' sip_address: "
    "'room@example.org' type: DORNE_SPACE internal_phone_number: '1234' external_phone_number: "
    "'+4712345678'";

const std::string kCapfRequest =
    "server: 'capf.example.org' port: 3804 authentication: 'secret' identity: 'SEP0011' "
    "server_mode: CAPF_CLNT_STR_AUTH reason: CAPF_CLNT_PUBKEY_MISMATCH";

}  // namespace

std::vector<PassThroughRow> network_pass_through_rows() {
    return {
        // Network status and the network manager.
        {"GetNetworkStatusReport",
         "",
         {{"networkstatusreporter.GetNetworkStatusReport", kNetworkStatusReport, ""},
          {"networkmanager.GetInterfaceInfo", "interface_state: LINK_STATE_UP",
           "interface: 'eth0'"}},
         kNetworkStatusReport + " ethernet_up: true"},
        row("GetProxyInfo", "", "networkmanager.GetProxyConfig",
            "mode: PROXY_PACURL url: 'http://proxy:3128' pacurl: 'http://proxy/pac' username: "
            "'user' password: 'pw'",
            "",
            "mode: PROXY_PACURL url: 'http://proxy:3128' pacurl: 'http://proxy/pac' username: "
            "'user' password: 'pw'"),
        // One item per setting.
        row("SetProxyConfig",
            "url: 'http://proxy:3128' username: 'user' password: 'pw' mode: PROXY_MANUAL pacurl: "
            "'http://proxy/pac'",
            "networkmanager.SetProxyConfig", "success: true",
            "items { url: 'http://proxy:3128' } items { username: 'user' } items { password: 'pw' "
            "} items { mode: PROXY_MANUAL } items { pacurl: 'http://proxy/pac' }",
            "success: true"),
        row("SetIpv4Config",
            "interface: ETHERNET method: STATIC ip_address: '10.0.0.7' subnet_mask: "
            "'255.255.255.0' default_gateway: '10.0.0.1'",
            "networkmanager.SetIpv4Config", "success: true",
            "interface: ETHERNET method: STATIC ip_address: '10.0.0.7' subnet_mask: "
            "'255.255.255.0' default_gateway: '10.0.0.1'",
            "success: true"),
        // Static name servers are the manual DNS mode.
        row("SetStaticDnsConfig",
            "domain_name: 'example.org' primary_name_server: '10.0.0.2' secondary_name_server: "
            "'10.0.0.3' tertiary_name_server: '10.0.0.4'",
            "networkmanager.SetStaticDnsConfig", "success: true",
            "dns_mode: DNS_MANUAL domain_name: 'example.org' primary_name_server: '10.0.0.2' "
            "secondary_name_server: '10.0.0.3' tertiary_name_server: '10.0.0.4'",
            "success: true"),
        row("ClearStaticDnsConfig", "", "networkmanager.ClearStaticDnsConfig", "", "", ""),
        row("SetVlanConfig", "vlan_mode: MANUAL vlan_id: 12", "networkmanager.SetVlanConfig",
            "success: true", "vlan_mode: MANUAL vlan_id: 12", "success: true"),
        row("GetVlanConfig", "", "networkmanager.GetVlanConfig", "vlan_mode: OFF vlan_id: 42", "",
            "vlan_mode: OFF vlan_id: 42"),
        // Wi-Fi.
        row("EnableWifi", "", "wifi.Enable", "success: true", "", "success: true"),
        row("DisableWifi", "", "wifi.Disable", "", "", ""),
        row("IsWifiEnabled", "", "wifi.IsEnabled", "enabled: true", "", "enabled: true"),
        row("SetWifiConfig",
            "ssid: 'office' frequency_band: FREQ_BAND_5 security_method: PEAP_MSCHAPV2_METHOD "
            "key_mgmt_method: WPA_EAP phase2: 'auth=MSCHAPV2' userid: 'ada' password: 'pw' psk: "
            "'secret' passphrase: 'phrase' wep_key: 'wep' wep_tx_keyidx: 2 ca_cert_path: '/ca.pem' "
            "client_cert_path: '/client.pem' client_private_key_path: '/key.pem'",
            "wifi.SetConfig", "success: true",
            "ssid: 'office' frequency_band: FREQ_BAND_5 security_method: PEAP_MSCHAPV2_METHOD "
            "key_mgmt_method: WPA_EAP phase2: 'auth=MSCHAPV2' userid: 'ada' password: 'pw' psk: "
            "'secret' passphrase: 'phrase' wep_key: 'wep' wep_tx_keyidx: 2 ca_cert_file: '/ca.pem' "
            "client_cert: '/client.pem' private_key: '/key.pem'",
            "success: true"),
        row("GetWifiConfig", "", "wifi.GetConfig",
            "ssid: 'lobby' frequency_band: FREQ_BAND_24 security_method: EAP_TLS_METHOD "
            "ca_cert_file: '/ca.pem'",
            "", "ssid: 'lobby' frequency_band: FREQ_BAND_24 security_method: EAP_TLS_METHOD"),
        // A key management left unknown goes out as the one the security
        // method calls for; a WEP network comes back with unknown security.
        row("SetWifiConfig", "ssid: 'home' security_method: WPA2_PSK_METHOD psk: 'secret'",
            "wifi.SetConfig", "success: true",
            "ssid: 'home' security_method: WPA2_PSK_METHOD key_mgmt_method: WPA_PSK psk: 'secret'",
            "success: true"),
        row("GetWifiConfig", "", "wifi.GetConfig", "ssid: 'old' security_method: WEP_METHOD", "",
            "ssid: 'old'"),
        row("ClearWifiConfig", "", "wifi.ClearConfig", "success: true", "", "success: true"),
        row("GetWifiStatus", "", "wifi.GetStatus", "status: FOUR_WAY_HANDSHAKE", "",
            "status: WIFI_FOUR_WAY_HANDSHAKE"),
        row("GetWifiSupplicantStatus", "", "wifi.GetSupplicantStatus", "status: 'COMPLETED'", "",
            "status: 'COMPLETED'"),
        // The driver's signal in dBm arrives as an unsigned number.
        row("GetWifiSTAStatistics", "", "wifi.GetStatistics",
            "tx_bytes: 5000000000 rx_bytes: 2 tx_pkts: 3 rx_pkts: 4 rx_pkts_dropped: 5 failed: 6 "
            "retries: 7 connected_time: 8 inactive_time: 9 signal: 4294967235 tx_pkts_err: 10",
            "",
            "tx_bytes: 5000000000 rx_bytes: 2 tx_pkts: 3 rx_pkts: 4 rx_pkts_dropped: 5 tx_failed: "
            "6 tx_retries: 7 connected_time: 8 inactive_time: 9 signal: -61"),
        row("GetWifiNetworkList", "", "wifi.GetNetworkList",
            "network_list { ssid: 'office' flags: '[WPA2-PSK]' rssi: '-40' frequency: '5180' "
            "bssid: 'aa:bb:cc:dd:ee:ff' } network_list { ssid: 'guest' }",
            "",
            "network_list { ssid: 'office' flags: '[WPA2-PSK]' rssi: '-40' frequency: '5180' "
            "bssid: 'aa:bb:cc:dd:ee:ff' } network_list { ssid: 'guest' }"),
        row("StartWifiScan", "", "wifi.StartScan", "success: true", "", "success: true"),
        row("StopWifiScan", "", "wifi.StopScan", "", "", ""),
        row("IsWifiScanStarted", "", "wifi.IsScanStarted", "started: true", "", "started: true"),
        // Access point.
        row("IsAPModeEnabled", "", "accesspoint.GetAPModeState", "state: ENABLED", "",
            "enabled: true"),
        row("SetAPModeEnabled", "enabled: true", "accesspoint.SetAPModeState", "enable: true",
            "state: ENABLED", "success: true"),
        row("SetAPModeEnabled", "", "accesspoint.SetAPModeState", "", "state: DISABLED", ""),
        row("GetLocalAPConfig", "", "accesspoint.GetLocalAPConfig",
            "ssid: 'room-ap' passphrase: 'p' ip_address: '192.168.4.1'", "",
            "ssid: 'room-ap' passphrase: 'p' ip_address: '192.168.4.1'"),
        row("SetLocalAPConfig", "ssid: 'room-ap' passphrase: 'p' ip_address: '192.168.4.1'",
            "accesspoint.SetLocalAPConfig", "success: true",
            "ssid: 'room-ap' passphrase: 'p' ip_address: '192.168.4.1'", "success: true"),
        // Media session.
        row("SubscribeRemoteVideo", "counts: 2 all: VideoQuality_LD active: VideoQuality_HD_1080P",
            "mediasession.SubscribeRemoteVideo", "success: true",
            "counts: 2 all: VideoQuality_LD active: VideoQuality_HD_1080P", "success: true"),
        row("UnSubscribeRemoteVideo", "virtual_id: 4 virtual_id: 9",
            "mediasession.UnSubscribeRemoteVideo", "", "virtual_id: 4 virtual_id: 9", ""),
        // Ultrasound: the beacon follows the requested status.
        row("GetPairedUsers", "", "nimboultrasound.GetPairedUsers",
            "users { name: 'Ada' uuid: 'u-1' } users { name: 'Bo' uuid: 'u-2' }", "",
            "users { name: 'Ada' uuid: 'u-1' } users { name: 'Bo' uuid: 'u-2' }"),
        row("GetBeaconStatus", "", "nimboultrasound.GetServiceState", "state: ENABLE", "",
            "status: ENABLED"),
        row("GetBeaconStatus", "", "nimboultrasound.GetServiceState", "", "", "status: DISABLED"),
        row("SetBeaconStatus", "status: ENABLED", "nimboultrasound.Enable", "success: true", "",
            "success: true"),
        row("SetBeaconStatus", "status: DISABLED", "nimboultrasound.Disable", "", "", ""),
        row("GetLatestPairingToken", "", "nimboultrasound.GetLatestPairingToken", "token: 't-9'",
            "", "token: 't-9'"),
        // Cloud configuration.
        row("GetAccountInfo", "", "nimboconfigmanager.GetAccountInfo", kAccount, "", kAccount),
        row("GetSharedAccountInfo", "", "nimboconfigmanager.GetSharedAccountInfo",
            "uuid: 's-2' type: PERSON", "", "uuid: 's-2' type: PERSON"),
        row("GetPairingId", "", "nimboconfigmanager.GetPairingId", "uuid: 'p-7'", "",
            "uuid: 'p-7'"),
        // Listed by service name.
        row("GetGlintServiceMap", "", "nimboconfigmanager.GetServiceMap",
            "service_map { key: 'locus' value: 'https://locus.example' } service_map { key: "
            "'calendar' value: 'https://calendar.example' }",
            "",
            "service_map { servicename: 'calendar' serviceuri: 'https://calendar.example' } "
            "service_map { servicename: 'locus' serviceuri: 'https://locus.example' }"),
        // Device configuration.
        row("GetLanguage", "", "configmanager.GetLocale", "language: 'nb_NO'", "",
            "language: 'nb_NO'"),
        row("SetLanguage", "language: 'en_US'", "configmanager.SetLocale", "success: true",
            "language: 'en_US'", "success: true"),
        row("GetTimezone", "", "configmanager.GetTimezone",
            "timezone: 'Europe/Oslo' date_template: 'dd.MM.yyyy'", "",
            "timezone: 'Europe/Oslo' date_template: 'dd.MM.yyyy'"),
        row("SetTimezone", "timezone: 'UTC' date_template: 'yyyy-MM-dd'",
            "configmanager.SetTimezone", "", "timezone: 'UTC' date_template: 'yyyy-MM-dd'", ""),
        row("GetGeoServiceInfo", "", "configmanager.GetGeoServiceInfo",
            "timezone: 'Europe/Oslo' country_code: 'NO' region_code: '03' client_address: "
            "'192.0.2.1'",
            "",
            "timezone: 'Europe/Oslo' country_code: 'NO' region_code: '03' client_address: "
            "'192.0.2.1'"),
        row("GetGuiSettingsEnabled", "", "configmanager.GetGuiSettingsEnabled",
            "gui_settings_enabled: true", "", "gui_settings_enabled: true"),
        row("GetRingtoneList", "", "configmanager.GetRingToneList", "name: 'Classic' name: 'Bells'",
            "", "names: 'Classic' names: 'Bells'"),
        row("GetRingTone", "", "configmanager.GetRingTone", "name: 'Bells'", "", "ringer: 'Bells'"),
        // The answer names the ring tone in use: the requested one if taken.
        row("SetRingTone", "ringer: 'Chime'", "configmanager.SetRingTone", "success: true",
            "name: 'Chime'", "ringer: 'Chime'"),
        row("SetRingTone", "ringer: 'Harp'", "configmanager.SetRingTone", "", "name: 'Harp'", ""),
        // On-premises configuration and security.
        row("SetKRELLAutoConfig", "enable: true", "krellconfigmanager.SetKRELLAutoConfig",
            "success: true", "enable: true", "success: true"),
        row("StartOnPremUpgrade", "", "krellconfigmanager.StartOnPremUpgrade", "", "",
            "success: true"),
        row("PostponeOnPremUpgrade", "postpone_seconds: 600",
            "krellconfigmanager.PostponeOnPremUpgrade", "", "postpone_seconds: 600",
            "success: true"),
        row("InstallCTL", "filepath: '/config/ctl.tlv' verify_signature: true",
            "krellsecurity.InstallCTL", "success: true",
            "filepath: '/config/ctl.tlv' verify_signature: true", "success: true"),
        row("InstallITL", "filepath: '/config/itl.tlv'", "krellsecurity.InstallITL", "",
            "filepath: '/config/itl.tlv'", ""),
        row("ResetTrustList", "", "krellsecurity.ResetTrustList", "success: true", "",
            "success: true"),
        row("RequireSignedFiles", "", "krellsecurity.RequireSignedFiles", "success: true", "",
            "success: true"),
        row("IsServerSecure", "type: SEC_SERVER_TYPE_SRST", "krellsecurity.IsServerSecure",
            "success: true", "type: SEC_SERVER_TYPE_SRST", "success: true"),
        row("VerifyConfigFile",
            "filepath: '/config/device.cnf.xml' identity: 'SEP001122334455' verify_signature: true",
            "krellsecurity.VerifyConfigFile",
            "result: true code: FILEAUTH_BAD_SIGNER payload: 'payload'",
            "filepath: '/config/device.cnf.xml' identity: 'SEP001122334455' verify_signature: true",
            "result: true code: FILEAUTH_BAD_SIGNER payload: 'payload'"),
        row("VerifyLoadsFile", "filepath: '/loads'", "krellsecurity.VerifyLoadsFile",
            "code: FILEAUTH_FILE_NOT_FOUND payload: 'x'", "filepath: '/loads'",
            "code: FILEAUTH_FILE_NOT_FOUND payload: 'x'"),
        row("StartCapf", kCapfRequest, "krellsecurity.StartCapf", "status: true code: CAPF_SUCCESS",
            kCapfRequest, "status: true code: CAPF_SUCCESS"),
        row("GetTrustListInfo", "", "krellsecurity.GetTrustListInfo",
            "num_ctl_entries: 3 num_itl_entries: 4 ctl_hash: 'c#' itl_hash: 'i#'", "",
            "num_ctl_entries: 3 num_itl_entries: 4 ctl_hash: 'c#' itl_hash: 'i#'"),
        row("GetTrustListItem", "index: 2 source: ITL_FILE", "krellsecurity.GetTrustListItem",
            "role: TVS subject_dns_name: 'dns' subject_name: 'subject' issuer_name: 'issuer' "
            "serial_number: 'sn' fingerprint: 'fp'",
            "index: 2 source: ITL_FILE",
            "role: TVS subject_dns_name: 'dns' subject_name: 'subject' issuer_name: 'issuer' "
            "serial_number: 'sn' fingerprint: 'fp'"),
        row("GetDeviceCertificateStatus", "cert_type: LSC", "krellsecurity.GetCertificateStatus",
            "success: true", "cert_type: LSC", "success: true"),
        // Avatar: the picture arrives as an event.
        row("GetAvatar", "uuid: 'person-1' size: 96", "avatar.GetAvatar", "",
            "uuid: 'person-1' size: 96", ""),
    };
}

}  // namespace vanta::testing
