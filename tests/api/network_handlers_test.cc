// The network, Wi-Fi, access-point, configuration, ultrasound, avatar and
// media-session operations through a real API connection, with fake backends
// on the device's sockets (each case in a private /tmp).

#include <chrono>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_harness.h"
#include "sim/accesspoint_backend.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/configmanager_backend.h"
#include "sim/krellconfigmanager_backend.h"
#include "sim/krellsecurity_backend.h"
#include "sim/mediasession_backend.h"
#include "sim/networkmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nimboconfigmanager_backend.h"
#include "sim/nimboultrasound_backend.h"
#include "sim/wifi_backend.h"
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class NetworkHandlers : public ::testing::Test {
  protected:
    template <typename Request, typename Response>
    grpc::Status call(grpc::Status (vantaapi::VantaApi::Stub::*method)(grpc::ClientContext*,
                                                                       const Request&, Response*),
                      const Request& request, Response& response) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 10s);
        return ((*stub_).*method)(&context, request, &response);
    }

    bool logged(const std::string& text) const {
        for (const auto& line : console_.lines()) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    const google::protobuf::Empty empty_;
    ConsoleCapture console_;
    sim::NetworkStatusReporterBackend reporter_;
    sim::NetworkManagerBackend network_;
    sim::WifiBackend wifi_;
    sim::NimboUltrasoundBackend ultrasound_;
    sim::AvatarBackend avatar_;
    sim::AccessPointBackend access_point_;
    sim::KrellSecurityBackend krell_security_;
    sim::ConfigManagerBackend config_;
    sim::KrellConfigManagerBackend krell_config_;
    sim::NimboConfigManagerBackend cloud_config_;
    sim::MediaSessionBackend media_session_;
    sim::BackendServer servers_[11] = {
        {"unix:/tmp/network_status_reporter", {&reporter_}},
        {"unix:/tmp/networkmanager_service", {&network_}},
        {"unix:/tmp/wifi_service", {&wifi_}},
        {"unix:/tmp/nimboultrasound_service", {&ultrasound_}},
        {"unix:/tmp/avatar_service", {&avatar_}},
        {"unix:/tmp/ap_service", {&access_point_}},
        {"unix:/tmp/krellsecurity_service", {&krell_security_}},
        {"unix:/tmp/configmanager", {&config_}},
        {"unix:/tmp/krellconfigmanager", {&krell_config_}},
        {"unix:/tmp/nimboconfigmanager_service", {&cloud_config_}},
        {"unix:/tmp/mediasession_service", {&media_session_}},
    };
    ApiHarness api_;
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_ = api_.client();
};

using Stub = vantaapi::VantaApi::Stub;

TEST_F(NetworkHandlers, NetworkStatusReportJoinsTheReportAndTheEthernetLink) {
    using Report = networkstatusreporter::NetworkStatusReport;
    Report report;
    report.set_state(Report::CONNECTED);
    report.set_active_interface(Report::WIFI);
    report.set_error(Report::WIFI_SIGNAL_NO_NETWORK);
    report.set_ipaddress("10.0.0.7");
    report.set_subnet_mask("255.255.255.0");
    report.set_default_gateway("10.0.0.1");
    report.set_apmode(true);
    report.set_ssid("office");
    report.set_ieee8021xstatus(Report::SUCCESS);
    report.set_static_configured(true);
    report.set_dns_mode(networkstatusreporter::DNS_MANUAL);
    report.set_dns_domain_name("example.org");
    report.set_dns_primary_server("10.0.0.2");
    report.set_dns_secondary_server("10.0.0.3");
    report.set_dns_tertiary_server("10.0.0.4");
    report.set_proxy_url("http://proxy:3128");
    report.set_proxy_username("user");
    report.set_proxy_password("pw");
    report.set_proxy_mode(Report::PROXY_MANUAL);
    report.set_ieee8021xmethod(Report::EAP_FAST);
    report.set_dhcp_tftp_addresses("10.0.0.9");
    report.set_vlan_mode(networkstatusreporter::MANUAL);
    report.set_vlan_id(12);
    report.set_proxy_pacurl("http://proxy/pac");
    report.set_ipv4_address_duplicated(true);
    reporter_.reply("GetNetworkStatusReport", report);
    networkmanager::InterfaceInfo eth0;
    eth0.set_interface_state(networkmanager::LINK_STATE_UP);
    network_.reply("GetInterfaceInfo", eth0);

    vantaapi::NetworkStatusReport answer;
    ASSERT_TRUE(call(&Stub::GetNetworkStatusReport, empty_, answer).ok());
    using Api = vantaapi::NetworkStatusReport;
    EXPECT_EQ(answer.state(), Api::CONNECTED);
    EXPECT_EQ(answer.active_interface(), vantaapi::WIFI);
    EXPECT_EQ(answer.error(), Api::WIFI_SIGNAL_NO_NETWORK);
    EXPECT_EQ(answer.ipaddress(), "10.0.0.7");
    EXPECT_EQ(answer.subnet_mask(), "255.255.255.0");
    EXPECT_EQ(answer.default_gateway(), "10.0.0.1");
    EXPECT_TRUE(answer.apmode());
    EXPECT_EQ(answer.ssid(), "office");
    EXPECT_EQ(answer.ieee8021xstatus(), Api::SUCCESS);
    EXPECT_TRUE(answer.static_configured());
    EXPECT_EQ(answer.dns_mode(), vantaapi::DNS_MANUAL);
    EXPECT_EQ(answer.dns_domain_name(), "example.org");
    EXPECT_EQ(answer.dns_primary_server(), "10.0.0.2");
    EXPECT_EQ(answer.dns_secondary_server(), "10.0.0.3");
    EXPECT_EQ(answer.dns_tertiary_server(), "10.0.0.4");
    EXPECT_EQ(answer.proxy_url(), "http://proxy:3128");
    EXPECT_EQ(answer.proxy_username(), "user");
    EXPECT_EQ(answer.proxy_password(), "pw");
    EXPECT_EQ(answer.proxy_mode(), vantaapi::PROXY_MANUAL);
    EXPECT_EQ(answer.ieee8021xmethod(), Api::EAP_FAST);
    EXPECT_EQ(answer.dhcp_tftp_addresses(), "10.0.0.9");
    EXPECT_EQ(answer.vlan_mode(), vantaapi::MANUAL);
    EXPECT_EQ(answer.vlan_id(), 12u);
    EXPECT_EQ(answer.proxy_pacurl(), "http://proxy/pac");
    EXPECT_TRUE(answer.ipv4_address_duplicated());
    EXPECT_TRUE(answer.ethernet_up());

    EXPECT_EQ(
        network_.last_request<networkmanager::InterfaceInfoRequest>("GetInterfaceInfo").interface(),
        "eth0");
    EXPECT_EQ(network_.last_caller(), "vantaapi");
    EXPECT_TRUE(logged("GetNetworkStatusReport: ethernet running"));
}

TEST_F(NetworkHandlers, NetworkStatusReportSurvivesTheNetworkManagerBeingAway) {
    networkstatusreporter::NetworkStatusReport report;
    report.set_error(networkstatusreporter::NetworkStatusReport::NO_ETH0_LINK);
    reporter_.reply("GetNetworkStatusReport", report);
    network_.fail_with(grpc::StatusCode::UNAVAILABLE);

    vantaapi::NetworkStatusReport answer;
    ASSERT_TRUE(call(&Stub::GetNetworkStatusReport, empty_, answer).ok());
    EXPECT_EQ(answer.error(), vantaapi::NetworkStatusReport::NO_ETH0_LINK);
    EXPECT_FALSE(answer.ethernet_up());
    EXPECT_TRUE(logged("GetNetworkStatusReport: failed to call GetInterfaceInfo"));

    reporter_.fail_with(grpc::StatusCode::UNAVAILABLE);
    const grpc::Status status = call(&Stub::GetNetworkStatusReport, empty_, answer);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "GetNetworkStatusReport networkstatusreporter client FAILED");
}

TEST_F(NetworkHandlers, OptionalAnswersCopyTheReplyOrNameTheFailure) {
    nimboconfigmanager::AccountInfo account;
    account.set_uuid("a-1");
    account.set_display_name("Board room");
    account.set_org_id("o-1");
    account.set_org_display_name("Example");
    account.set_sip_address("room@example.org");
    account.set_type(nimboconfigmanager::DORNE_SPACE);
    account.set_internal_phone_number("1234");
    account.set_external_phone_number("+4712345678");
    cloud_config_.reply("GetAccountInfo", account);

    vantaapi::AccountInfo answer;
    ASSERT_TRUE(call(&Stub::GetAccountInfo, vantaapi::AccountInfoRequest(), answer).ok());
    EXPECT_EQ(answer.uuid(), "a-1");
    EXPECT_EQ(answer.display_name(), "Board room");
    EXPECT_EQ(answer.org_id(), "o-1");
    EXPECT_EQ(answer.org_display_name(), "Example");
    EXPECT_EQ(answer.sip_address(), "room@example.org");
    EXPECT_EQ(answer.type(), vantaapi::AccountInfo::DORNE_SPACE);
    EXPECT_EQ(answer.internal_phone_number(), "1234");
    EXPECT_EQ(answer.external_phone_number(), "+4712345678");

    cloud_config_.fail_with(grpc::StatusCode::INTERNAL);
    vantaapi::AccountInfo failed;
    const grpc::Status status =
        call(&Stub::GetSharedAccountInfo, vantaapi::AccountInfoRequest(), failed);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "GetSharedAccountInfo configuration client FAILED");
}

TEST_F(NetworkHandlers, GuardedCallsConvertTheRequestAndMapTheErrors) {
    networkmanager::RequestStatus ok;
    ok.set_success(true);
    network_.reply("SetIpv4Config", ok);
    vantaapi::Ipv4Config config;
    config.set_interface(vantaapi::ETHERNET);
    config.set_method(vantaapi::Ipv4Config::STATIC);
    config.set_ip_address("10.0.0.7");
    config.set_subnet_mask("255.255.255.0");
    config.set_default_gateway("10.0.0.1");
    vantaapi::RequestStatus answer;
    ASSERT_TRUE(call(&Stub::SetIpv4Config, config, answer).ok());
    EXPECT_TRUE(answer.success());
    const auto sent = network_.last_request<networkmanager::Ipv4Config>("SetIpv4Config");
    EXPECT_EQ(sent.interface(), networkmanager::ETHERNET);
    EXPECT_EQ(sent.method(), networkmanager::Ipv4Config::STATIC);
    EXPECT_EQ(sent.ip_address(), "10.0.0.7");
    EXPECT_EQ(sent.subnet_mask(), "255.255.255.0");
    EXPECT_EQ(sent.default_gateway(), "10.0.0.1");

    vantaapi::DnsConfig dns;
    dns.set_domain_name("example.org");
    dns.set_primary_name_server("10.0.0.2");
    ASSERT_TRUE(call(&Stub::SetStaticDnsConfig, dns, answer).ok());
    const auto sent_dns = network_.last_request<networkmanager::DnsConfig>("SetStaticDnsConfig");
    EXPECT_EQ(sent_dns.dns_mode(), networkmanager::DNS_MANUAL);
    EXPECT_EQ(sent_dns.domain_name(), "example.org");
    EXPECT_EQ(sent_dns.primary_name_server(), "10.0.0.2");

    network_.fail_with(grpc::StatusCode::DEADLINE_EXCEEDED, "too slow");
    vantaapi::RequestStatus failed;
    const grpc::Status status = call(&Stub::SetVlanConfig, vantaapi::VlanConfig(), failed);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(status.error_message(),
              "SetVlanConfig: [NetworkManager::SetVlanConfig: DEADLINE_EXCEEDED - [too slow]]");
}

TEST_F(NetworkHandlers, ConfigurationCallsLogAndNameTheirFailure) {
    configmanager::TimezoneData timezone;
    timezone.set_timezone("Europe/Oslo");
    timezone.set_date_template("dd.MM.yyyy");
    config_.reply("GetTimezone", timezone);
    vantaapi::TimezoneInfo answer;
    ASSERT_TRUE(call(&Stub::GetTimezone, empty_, answer).ok());
    EXPECT_EQ(answer.timezone(), "Europe/Oslo");
    EXPECT_EQ(answer.date_template(), "dd.MM.yyyy");

    configmanager::RequestStatus ok;
    ok.set_success(true);
    config_.reply("SetRingTone", ok);
    vantaapi::Ringtone tone;
    tone.set_ringer("Bells");
    vantaapi::Ringtone now;
    ASSERT_TRUE(call(&Stub::SetRingTone, tone, now).ok());
    EXPECT_EQ(now.ringer(), "Bells");
    EXPECT_EQ(config_.last_request<configmanager::RingToneData>("SetRingTone").name(), "Bells");

    config_.fail_with(grpc::StatusCode::UNAVAILABLE, "restarting");
    vantaapi::TimezoneInfo failed;
    const grpc::Status status = call(&Stub::GetTimezone, empty_, failed);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "GetTimezone: configmanager client FAILED");
    EXPECT_TRUE(
        logged("GetTimezone: Caught config_manager_client exception: Config "
               "Manager::GetTimezone: UNAVAILABLE - [restarting]"));
}

TEST_F(NetworkHandlers, WifiOperationsConvertBothWays) {
    wifi::RequestStatus ok;
    ok.set_success(true);
    wifi_.reply("SetConfig", ok);
    vantaapi::WifiConfigInfo config;
    config.set_ssid("office");
    config.set_security_method(vantaapi::WPA2_PSK_METHOD);
    config.set_psk("secret");
    vantaapi::RequestStatus answer;
    ASSERT_TRUE(call(&Stub::SetWifiConfig, config, answer).ok());
    EXPECT_TRUE(answer.success());
    const auto sent = wifi_.last_request<wifi::ConfigInfo>("SetConfig");
    EXPECT_EQ(sent.ssid(), "office");
    EXPECT_EQ(sent.key_mgmt_method(), wifi::WPA_PSK);
    EXPECT_EQ(sent.psk(), "secret");

    wifi::Configuration current;
    current.set_ssid("legacy");
    current.set_frequency_band(wifi::FREQ_BAND_24);
    current.set_security_method(wifi::WEP_METHOD);
    wifi_.reply("GetConfig", current);
    vantaapi::WifiConfiguration reported;
    ASSERT_TRUE(call(&Stub::GetWifiConfig, empty_, reported).ok());
    EXPECT_EQ(reported.ssid(), "legacy");
    EXPECT_EQ(reported.frequency_band(), vantaapi::FREQ_BAND_24);
    EXPECT_EQ(reported.security_method(), vantaapi::UNKNOWN_METHOD);

    wifi::WifiStatus status;
    status.set_status(wifi::FOUR_WAY_HANDSHAKE);
    wifi_.reply("GetStatus", status);
    vantaapi::WifiStatus wifi_status;
    ASSERT_TRUE(call(&Stub::GetWifiStatus, empty_, wifi_status).ok());
    EXPECT_EQ(wifi_status.status(), vantaapi::WIFI_FOUR_WAY_HANDSHAKE);

    wifi::WifiStatistics statistics;
    statistics.set_tx_bytes(1);
    statistics.set_rx_bytes(2);
    statistics.set_tx_pkts(3);
    statistics.set_rx_pkts(4);
    statistics.set_rx_pkts_dropped(5);
    statistics.set_failed(6);
    statistics.set_retries(7);
    statistics.set_connected_time(8);
    statistics.set_inactive_time(9);
    statistics.set_signal(static_cast<uint32_t>(-61));
    wifi_.reply("GetStatistics", statistics);
    vantaapi::WifiSTAStatistics sta;
    ASSERT_TRUE(call(&Stub::GetWifiSTAStatistics, empty_, sta).ok());
    EXPECT_EQ(sta.tx_bytes(), 1u);
    EXPECT_EQ(sta.rx_bytes(), 2u);
    EXPECT_EQ(sta.tx_pkts(), 3u);
    EXPECT_EQ(sta.rx_pkts(), 4u);
    EXPECT_EQ(sta.rx_pkts_dropped(), 5u);
    EXPECT_EQ(sta.tx_failed(), 6u);
    EXPECT_EQ(sta.tx_retries(), 7u);
    EXPECT_EQ(sta.connected_time(), 8u);
    EXPECT_EQ(sta.inactive_time(), 9u);
    EXPECT_EQ(sta.signal(), -61);
}

TEST_F(NetworkHandlers, UnguardedFailuresReachTheCallerAsUnknown) {
    wifi_.fail_with(grpc::StatusCode::UNAVAILABLE);
    vantaapi::RequestStatus answer;
    const grpc::Status status = call(&Stub::EnableWifi, empty_, answer);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(status.error_message(), "Unexpected error in RPC handling");
    EXPECT_THAT(wifi_.calls(), ElementsAre("Enable"));
}

TEST_F(NetworkHandlers, OnPremisesConfigurationIsRefusedOnThisModel) {
    vantaapi::AllKrellConfigurations configurations;
    grpc::Status status = call(&Stub::GetKrellDeviceConfigs, empty_, configurations);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNIMPLEMENTED);
    EXPECT_EQ(status.error_message(), "GetKrellDeviceConfigs is not supported");
    vantaapi::KRELLDeviceConfigValue value;
    status = call(&Stub::GetKRELLDeviceConfigValue, vantaapi::KRELLDeviceConfigRequest(), value);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNIMPLEMENTED);
    EXPECT_THAT(krell_config_.calls(), IsEmpty());

    // The operations without the check still reach the service.
    krellconfigmanager::KRELLAutoConfigResult ok;
    ok.set_success(true);
    krell_config_.reply("SetKRELLAutoConfig", ok);
    vantaapi::KRELLAutoConfig enable;
    enable.set_enable(true);
    vantaapi::RequestStatus answer;
    ASSERT_TRUE(call(&Stub::SetKRELLAutoConfig, enable, answer).ok());
    EXPECT_TRUE(answer.success());
    vantaapi::PostponeOnPremUpgradeRequest postpone;
    postpone.set_postpone_seconds(600);
    ASSERT_TRUE(call(&Stub::PostponeOnPremUpgrade, postpone, answer).ok());
    EXPECT_EQ(
        krell_config_
            .last_request<krellconfigmanager::PostponeOnPremUpgradeRequest>("PostponeOnPremUpgrade")
            .postpone_seconds(),
        600);
    EXPECT_THAT(krell_config_.calls(), ElementsAre("SetKRELLAutoConfig", "PostponeOnPremUpgrade"));
}

TEST_F(NetworkHandlers, UltrasoundBeaconFollowsTheRequestedStatus) {
    nimboultrasound::Response ok;
    ok.set_success(true);
    ultrasound_.reply("Enable", ok);
    vantaapi::BeaconStatus enable;
    enable.set_status(vantaapi::BeaconStatus::ENABLED);
    vantaapi::RequestStatus answer;
    ASSERT_TRUE(call(&Stub::SetBeaconStatus, enable, answer).ok());
    EXPECT_TRUE(answer.success());

    nimboultrasound::StateResponse state;
    state.set_state(nimboultrasound::ENABLE);
    ultrasound_.reply("GetServiceState", state);
    vantaapi::BeaconStatus status;
    ASSERT_TRUE(call(&Stub::GetBeaconStatus, empty_, status).ok());
    EXPECT_EQ(status.status(), vantaapi::BeaconStatus::ENABLED);
    EXPECT_THAT(ultrasound_.calls(), ElementsAre("Enable", "GetServiceState"));

    ultrasound_.fail_with(grpc::StatusCode::UNAVAILABLE);
    const grpc::Status failed = call(&Stub::SetBeaconStatus, enable, answer);
    EXPECT_EQ(failed.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(failed.error_message(), "Nimbo Ultrasound: enable client FAILED");
}

TEST_F(NetworkHandlers, EachRemainingClientServesItsOperation) {
    // Access point.
    accesspoint::APModeEnableResponse enabled;
    enabled.set_enable(true);
    access_point_.reply("SetAPModeState", enabled);
    vantaapi::APModeEnabled ap_on;
    ap_on.set_enabled(true);
    vantaapi::RequestStatus answer;
    ASSERT_TRUE(call(&Stub::SetAPModeEnabled, ap_on, answer).ok());
    EXPECT_TRUE(answer.success());
    EXPECT_EQ(access_point_.last_request<accesspoint::StateRequest>("SetAPModeState").state(),
              accesspoint::ENABLED);

    // Avatar.
    vantaapi::AvatarRequest avatar;
    avatar.set_uuid("person-1");
    avatar.set_size(96);
    google::protobuf::Empty nothing;
    ASSERT_TRUE(call(&Stub::GetAvatar, avatar, nothing).ok());
    EXPECT_EQ(avatar_.last_request<avatar::AvatarRequest>("GetAvatar").uuid(), "person-1");
    EXPECT_EQ(avatar_.last_request<avatar::AvatarRequest>("GetAvatar").size(), 96);

    // On-premises security.
    krellsecurity::CapfResponse capf;
    capf.set_status(true);
    capf.set_code(krellsecurity::CAPF_SUCCESS);
    krell_security_.reply("StartCapf", capf);
    vantaapi::StartCapfRequest start;
    start.set_server("capf.example.org");
    start.set_port(3804);
    start.set_server_mode(vantaapi::CAPF_CLNT_STR_AUTH);
    start.set_reason(vantaapi::CAPF_CLNT_PUBKEY_MISMATCH);
    vantaapi::CapfResponse capf_answer;
    ASSERT_TRUE(call(&Stub::StartCapf, start, capf_answer).ok());
    EXPECT_TRUE(capf_answer.status());
    EXPECT_EQ(capf_answer.code(), vantaapi::CAPF_SUCCESS);
    const auto sent = krell_security_.last_request<krellsecurity::StartCapfRequest>("StartCapf");
    EXPECT_EQ(sent.server(), "capf.example.org");
    EXPECT_EQ(sent.port(), 3804u);
    EXPECT_EQ(sent.server_mode(), krellsecurity::CAPF_CLNT_STR_AUTH);
    EXPECT_EQ(sent.reason(), krellsecurity::CAPF_CLNT_PUBKEY_MISMATCH);

    // Media session.
    mediasession::RequestStatus subscribed;
    subscribed.set_success(true);
    media_session_.reply("SubscribeRemoteVideo", subscribed);
    vantaapi::SubRemoteVideo video;
    video.set_counts(2);
    video.set_all(vantaapi::VideoQuality_LD);
    video.set_active(vantaapi::VideoQuality_HD_1080P);
    ASSERT_TRUE(call(&Stub::SubscribeRemoteVideo, video, answer).ok());
    EXPECT_TRUE(answer.success());
    const auto sent_video =
        media_session_.last_request<mediasession::SubRemoteVideo>("SubscribeRemoteVideo");
    EXPECT_EQ(sent_video.counts(), 2u);
    EXPECT_EQ(sent_video.all(), mediasession::VideoQuality_LD);
    EXPECT_EQ(sent_video.active(), mediasession::VideoQuality_HD_1080P);

    // Network manager: proxy settings go as one item per setting.
    networkmanager::RequestStatus ok;
    ok.set_success(true);
    network_.reply("SetProxyConfig", ok);
    vantaapi::ProxyConfig proxy;
    proxy.set_url("http://proxy:3128");
    proxy.set_username("user");
    proxy.set_password("pw");
    proxy.set_mode(vantaapi::PROXY_MANUAL);
    proxy.set_pacurl("http://proxy/pac");
    ASSERT_TRUE(call(&Stub::SetProxyConfig, proxy, answer).ok());
    EXPECT_TRUE(answer.success());
    const auto items = network_.last_request<networkmanager::ProxyConfigItems>("SetProxyConfig");
    ASSERT_EQ(items.items_size(), 5);
    EXPECT_EQ(items.items(0).url(), "http://proxy:3128");
    EXPECT_EQ(items.items(1).username(), "user");
    EXPECT_EQ(items.items(2).password(), "pw");
    EXPECT_EQ(items.items(3).mode(), networkmanager::PROXY_MANUAL);
    EXPECT_EQ(items.items(4).pacurl(), "http://proxy/pac");
}

TEST_F(NetworkHandlers, ServiceMapIsListedByNameOrLeftEmpty) {
    nimboconfigmanager::ServiceMap services;
    (*services.mutable_service_map())["locus"] = "https://locus.example";
    (*services.mutable_service_map())["calendar"] = "https://calendar.example";
    cloud_config_.reply("GetServiceMap", services);
    vantaapi::GlintServiceMapResponse map;
    ASSERT_TRUE(call(&Stub::GetGlintServiceMap, empty_, map).ok());
    ASSERT_EQ(map.service_map_size(), 2);
    EXPECT_EQ(map.service_map(0).servicename(), "calendar");
    EXPECT_EQ(map.service_map(0).serviceuri(), "https://calendar.example");
    EXPECT_EQ(map.service_map(1).servicename(), "locus");

    cloud_config_.fail_with(grpc::StatusCode::UNAVAILABLE);
    vantaapi::GlintServiceMapResponse none;
    ASSERT_TRUE(call(&Stub::GetGlintServiceMap, empty_, none).ok());
    EXPECT_EQ(none.service_map_size(), 0);
    EXPECT_TRUE(logged("Failed to get service map from configuration"));
}

}  // namespace
}  // namespace vanta::testing
