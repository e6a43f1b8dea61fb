// The network, Wi-Fi, access-point, configuration, ultrasound, avatar and
// media-session clients against fake backends on temporary sockets: what each
// sends, what it makes of the answer, and how it fails.

#include <chrono>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/accesspoint/accesspoint_client_impl.h"
#include "clients/avatar/avatar_client_impl.h"
#include "clients/configmanager/configmanager_client_impl.h"
#include "clients/krellconfigmanager/krellconfigmanager_client_impl.h"
#include "clients/krellsecurity/krellsecurity_client_impl.h"
#include "clients/mediasession/mediasession_client_impl.h"
#include "clients/networkmanager/networkmanager_client_impl.h"
#include "clients/networkstatusreporter/networkstatusreporter_client_impl.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client_impl.h"
#include "clients/nimboultrasound/nimboultrasound_client_impl.h"
#include "clients/wifi/wifi_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
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
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A fake backend on a temporary socket and a client of it, named as the
// device's `row` names it.
template <typename Fake, typename Client>
struct Backend {
    explicit Backend(const Endpoint& row) : client(endpoint_at(row, address, 2000ms)) {}

    TempDir dir;
    std::string address = dir.socket_address("backend");
    Fake fake;
    sim::BackendServer server{address, {&fake}};
    Client client;
};

bool any_line_has(const ConsoleCapture& console, const std::string& text) {
    for (const auto& line : console.lines()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(NetworkStatusReporterClient, ReturnsTheReportOrNothing) {
    Backend<sim::NetworkStatusReporterBackend, networkstatusreporter::ClientImpl> backend{
        device_endpoints().networkstatusreporter};
    networkstatusreporter::NetworkStatusReport report;
    report.set_state(networkstatusreporter::NetworkStatusReport::CONNECTED);
    report.set_ipaddress("10.0.0.7");
    report.set_vlan_id(12);
    backend.fake.reply("GetNetworkStatusReport", report);
    const auto answer = backend.client.GetNetworkStatusReport();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->SerializeAsString(), report.SerializeAsString());

    ConsoleCapture console;
    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(backend.client.GetNetworkStatusReport());
    EXPECT_TRUE(any_line_has(
        console,
        "GetNetworkStatusReport request failed, grpc error: backend says no, code: UNAVAILABLE"));
}

TEST(NetworkManagerClient, SendsTheCallerLabelAndTheRequestFields) {
    Backend<sim::NetworkManagerBackend, networkmanager::ClientImpl> backend{
        device_endpoints().networkmanager};
    networkmanager::InterfaceInfo eth0;
    eth0.set_interface_state(networkmanager::LINK_STATE_UP);
    eth0.set_mac_address("00:11:22:33:44:55");
    backend.fake.reply("GetInterfaceInfo", eth0);

    backend.client.set_caller("vantaapi");
    const auto info = backend.client.GetInterfaceInfo("eth0");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->interface_state(), networkmanager::LINK_STATE_UP);
    EXPECT_EQ(info->mac_address(), "00:11:22:33:44:55");
    EXPECT_EQ(backend.fake.last_request<networkmanager::InterfaceInfoRequest>("GetInterfaceInfo")
                  .interface(),
              "eth0");
    EXPECT_EQ(backend.fake.last_caller(), "vantaapi");

    networkmanager::VlanConfig vlan;
    vlan.set_vlan_mode(networkmanager::MANUAL);
    vlan.set_vlan_id(42);
    backend.fake.reply("GetVlanConfig", vlan);
    EXPECT_EQ(backend.client.GetVlanConfig().vlan_id(), 42u);

    networkmanager::RequestStatus ok;
    ok.set_success(true);
    backend.fake.reply("SetProxyConfig", ok);
    networkmanager::ProxyConfigItems items;
    items.add_items()->set_url("http://proxy:3128");
    EXPECT_EQ(backend.client.SetProxyConfig(items), std::optional<bool>(true));
    EXPECT_EQ(backend.fake.last_request<networkmanager::ProxyConfigItems>("SetProxyConfig")
                  .items(0)
                  .url(),
              "http://proxy:3128");
}

TEST(NetworkManagerClient, FailsInBothStyles) {
    Backend<sim::NetworkManagerBackend, networkmanager::ClientImpl> backend{
        device_endpoints().networkmanager};
    backend.fake.fail_with(grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_FALSE(backend.client.GetProxyConfig());
    try {
        backend.client.SetIpv4Config(networkmanager::Ipv4Config());
        FAIL() << "no exception";
    } catch (const ServiceDeadlineError& e) {
        EXPECT_STREQ(e.what(),
                     "NetworkManager::SetIpv4Config: DEADLINE_EXCEEDED - [backend says no]");
    }
    // A code the optional style cannot answer with "nothing" raises.
    backend.fake.fail_with(grpc::StatusCode::PERMISSION_DENIED);
    try {
        backend.client.GetInterfaceInfo("eth0");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "GetInterfaceInfo: unrecoverable grpc error: PERMISSION_DENIED");
    }
}

TEST(NetworkManagerClient, GivesUpAtItsDeadline) {
    TempDir dir;
    const std::string address = dir.socket_address("networkmanager");
    sim::NetworkManagerBackend fake;
    sim::BackendServer server(address, {&fake});
    networkmanager::ClientImpl client(
        endpoint_at(device_endpoints().networkmanager, address, 100ms));
    fake.delay_answers(1000ms);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_THROW(client.SetVlanConfig(networkmanager::VlanConfig()), ServiceDeadlineError);
    EXPECT_FALSE(client.GetInterfaceInfo("eth0"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1000ms);
}

TEST(WifiClient, PassesConfigurationAndAnswers) {
    Backend<sim::WifiBackend, wifi::ClientImpl> backend{device_endpoints().wifi};
    wifi::RequestStatus ok;
    ok.set_success(true);
    backend.fake.reply("SetConfig", ok);
    wifi::ConfigInfo config;
    config.set_ssid("office");
    config.set_security_method(wifi::WPA2_PSK_METHOD);
    config.set_psk("secret");
    EXPECT_TRUE(backend.client.SetConfig(config));
    EXPECT_EQ(backend.fake.last_request<wifi::ConfigInfo>("SetConfig").SerializeAsString(),
              config.SerializeAsString());

    wifi::WifiStatus status;
    status.set_status(wifi::CONNECTED);
    backend.fake.reply("GetStatus", status);
    EXPECT_EQ(backend.client.GetStatus(), wifi::CONNECTED);

    wifi::WifiStatistics statistics;
    statistics.set_tx_bytes(1000);
    statistics.set_retries(3);
    backend.fake.reply("GetStatistics", statistics);
    const auto answered = backend.client.GetStatistics();
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->tx_bytes(), 1000u);
    EXPECT_EQ(answered->retries(), 3u);

    EXPECT_FALSE(backend.client.IsScanStarted());
    EXPECT_EQ(backend.client.StartScan(), std::optional<bool>(false));
}

TEST(WifiClient, FailsInBothStyles) {
    Backend<sim::WifiBackend, wifi::ClientImpl> backend{device_endpoints().wifi};
    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(backend.client.GetStatistics());
    EXPECT_FALSE(backend.client.StopScan());
    EXPECT_THROW(backend.client.Enable(), ServiceUnavailableError);
    EXPECT_THROW(backend.client.GetNetworkList(), ServiceUnavailableError);
}

TEST(NimboUltrasoundClient, AnswersOrNothing) {
    Backend<sim::NimboUltrasoundBackend, nimboultrasound::ClientImpl> backend{
        device_endpoints().nimboultrasound};
    nimboultrasound::PairedUsers users;
    auto* user = users.add_users();
    user->set_name("Ada");
    user->set_uuid("u-1");
    backend.fake.reply("GetPairedUsers", users);
    nimboultrasound::StateResponse state;
    state.set_state(nimboultrasound::ENABLE);
    backend.fake.reply("GetServiceState", state);
    nimboultrasound::TokenResponse token;
    token.set_token("t-9");
    backend.fake.reply("GetLatestPairingToken", token);

    const auto paired = backend.client.GetPairedUsers();
    ASSERT_TRUE(paired);
    ASSERT_EQ(paired->users_size(), 1);
    EXPECT_EQ(paired->users(0).uuid(), "u-1");
    EXPECT_EQ(backend.client.GetServiceState(), nimboultrasound::ENABLE);
    EXPECT_EQ(backend.client.GetLatestPairingToken(), std::optional<std::string>("t-9"));

    backend.fake.fail_with(grpc::StatusCode::INTERNAL);
    EXPECT_FALSE(backend.client.Enable());
    EXPECT_FALSE(backend.client.GetLatestPairingToken());
}

TEST(AvatarClient, AsksForTheAvatarOrRaises) {
    Backend<sim::AvatarBackend, avatar::ClientImpl> backend{device_endpoints().avatar};
    backend.client.GetAvatar("person-1", 128);
    const auto request = backend.fake.last_request<avatar::AvatarRequest>("GetAvatar");
    EXPECT_EQ(request.uuid(), "person-1");
    EXPECT_EQ(request.size(), 128);

    backend.fake.fail_with(grpc::StatusCode::NOT_FOUND, "no such person");
    try {
        backend.client.GetAvatar("person-2", 64);
        FAIL() << "no exception";
    } catch (const ServiceResourceNotFoundError& e) {
        EXPECT_STREQ(e.what(), "Avatar Service::GetAvatar: NOT_FOUND - [no such person]");
    }
}

TEST(AccessPointClient, SwitchesAndConfiguresTheAccessPoint) {
    Backend<sim::AccessPointBackend, accesspoint::ClientImpl> backend{
        device_endpoints().accesspoint};
    accesspoint::APModeEnableResponse enabled;
    enabled.set_enable(true);
    backend.fake.reply("SetAPModeState", enabled);
    EXPECT_TRUE(backend.client.SetAPModeState(accesspoint::ENABLED));
    EXPECT_EQ(backend.fake.last_request<accesspoint::StateRequest>("SetAPModeState").state(),
              accesspoint::ENABLED);

    accesspoint::LocalAPConfiguration config;
    config.set_ssid("room-ap");
    config.set_passphrase("p");
    config.set_ip_address("192.168.4.1");
    backend.fake.reply("GetLocalAPConfig", config);
    EXPECT_EQ(backend.client.GetLocalAPConfig().SerializeAsString(), config.SerializeAsString());

    backend.fake.fail_with(grpc::StatusCode::FAILED_PRECONDITION);
    EXPECT_THROW(backend.client.GetAPModeState(), ServiceFailedPrecondition);
}

TEST(KrellSecurityClient, CopiesRequestsAndAnswers) {
    Backend<sim::KrellSecurityBackend, krellsecurity::ClientImpl> backend{
        device_endpoints().krellsecurity};
    krellsecurity::FileVerifyResponse verified;
    verified.set_result(true);
    verified.set_code(krellsecurity::FILEAUTH_BAD_SIGNER);
    verified.set_payload("payload");
    backend.fake.reply("VerifyConfigFile", verified);
    krellsecurity::VerifyConfigFileRequest request;
    request.set_filepath("/config/device.cnf.xml");
    request.set_identity("SEP001122334455");
    request.set_verify_signature(true);
    const auto answer = backend.client.VerifyConfigFile(request);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->SerializeAsString(), verified.SerializeAsString());
    EXPECT_EQ(backend.fake.last_request<krellsecurity::VerifyConfigFileRequest>("VerifyConfigFile")
                  .SerializeAsString(),
              request.SerializeAsString());

    EXPECT_EQ(backend.client.InstallCTL("/config/ctl.tlv", true), std::optional<bool>(false));
    const auto ctl = backend.fake.last_request<krellsecurity::InstallCTLRequest>("InstallCTL");
    EXPECT_EQ(ctl.filepath(), "/config/ctl.tlv");
    EXPECT_TRUE(ctl.verify_signature());

    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(backend.client.GetTrustListItem(2, krellsecurity::ITL_FILE));
    EXPECT_THROW(backend.client.VerifyLoadsFile("/loads"), ServiceUnavailableError);
}

TEST(ConfigManagerClient, ReadsAndWritesSettingsOrRaises) {
    Backend<sim::ConfigManagerBackend, configmanager::ClientImpl> backend{
        device_endpoints().configmanager};
    configmanager::TimezoneData timezone;
    timezone.set_timezone("Europe/Oslo");
    timezone.set_date_template("dd.MM.yyyy");
    backend.fake.reply("GetTimezone", timezone);
    configmanager::RingToneList tones;
    tones.add_name("Classic");
    tones.add_name("Bells");
    backend.fake.reply("GetRingToneList", tones);

    EXPECT_EQ(backend.client.GetTimezone().SerializeAsString(), timezone.SerializeAsString());
    EXPECT_THAT(backend.client.GetRingToneList(), ElementsAre("Classic", "Bells"));
    EXPECT_FALSE(backend.client.SetTimezone("UTC", "yyyy-MM-dd"));
    const auto set = backend.fake.last_request<configmanager::TimezoneData>("SetTimezone");
    EXPECT_EQ(set.timezone(), "UTC");
    EXPECT_EQ(set.date_template(), "yyyy-MM-dd");

    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE, "gone");
    try {
        backend.client.GetLocale();
        FAIL() << "no exception";
    } catch (const ServiceUnavailableError& e) {
        EXPECT_STREQ(e.what(), "Config Manager::GetLocale: UNAVAILABLE - [gone]");
    }
}

TEST(KrellConfigManagerClient, ServesBothStyles) {
    Backend<sim::KrellConfigManagerBackend, krellconfigmanager::ClientImpl> backend{
        device_endpoints().krellconfigmanager};
    krellconfigmanager::KRELLTFTPAddress tftp;
    tftp.add_address_list("10.1.1.1");
    tftp.add_address_list("10.1.1.2");
    backend.fake.reply("GetKRELLTFTPAddress", tftp);
    EXPECT_EQ(backend.client.GetKRELLTFTPAddress(),
              std::optional<std::vector<std::string>>({"10.1.1.1", "10.1.1.2"}));
    backend.client.PostponeOnPremUpgrade(3600);
    EXPECT_EQ(
        backend.fake
            .last_request<krellconfigmanager::PostponeOnPremUpgradeRequest>("PostponeOnPremUpgrade")
            .postpone_seconds(),
        3600);

    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(backend.client.SetKRELLAutoConfig(true));
    EXPECT_THROW(backend.client.GetKRELLDeviceConfigValues(), ServiceUnavailableError);
    EXPECT_THROW(backend.client.StartOnPremUpgrade(), ServiceUnavailableError);
}

TEST(NimboConfigManagerClient, ReturnsAccountAndServiceMap) {
    Backend<sim::NimboConfigManagerBackend, nimboconfigmanager::ClientImpl> backend{
        device_endpoints().nimboconfigmanager};
    nimboconfigmanager::AccountInfo account;
    account.set_uuid("a-1");
    account.set_display_name("Board room");
    account.set_type(nimboconfigmanager::DORNE_SPACE);
    backend.fake.reply("GetSharedAccountInfo", account);
    nimboconfigmanager::ServiceMap services;
    (*services.mutable_service_map())["calendar"] = "https://calendar.example";
    backend.fake.reply("GetServiceMap", services);
    nimboconfigmanager::PairingId pairing;
    pairing.set_uuid("p-7");
    backend.fake.reply("GetPairingId", pairing);

    EXPECT_EQ(backend.client.GetSharedAccountInfo()->SerializeAsString(),
              account.SerializeAsString());
    EXPECT_EQ(backend.client.GetServiceMap()->service_map().at("calendar"),
              "https://calendar.example");
    EXPECT_EQ(backend.client.GetPairingId(), "p-7");
    EXPECT_THAT(backend.fake.calls(),
                ElementsAre("GetSharedAccountInfo", "GetServiceMap", "GetPairingId"));

    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(backend.client.GetAccountInfo());
    EXPECT_THROW(backend.client.GetPairingId(), ServiceUnavailableError);
}

TEST(MediaSessionClient, ForwardsSubscriptionsOrRaises) {
    Backend<sim::MediaSessionBackend, mediasession::ClientImpl> backend{
        device_endpoints().mediasession};
    mediasession::RequestStatus ok;
    ok.set_success(true);
    backend.fake.reply("UnSubscribeRemoteVideo", ok);
    EXPECT_TRUE(backend.client.UnSubscribeRemoteVideo({4, 9}));
    EXPECT_THAT(backend.fake.last_request<mediasession::UnSubRemoteVideo>("UnSubscribeRemoteVideo")
                    .virtual_id(),
                ElementsAre(4u, 9u));

    mediasession::SubRemoteVideo subscription;
    subscription.set_counts(3);
    subscription.set_all(mediasession::VideoQuality_SD);
    subscription.set_active(mediasession::VideoQuality_HD_720P);
    EXPECT_FALSE(backend.client.SubscribeRemoteVideo(subscription));
    EXPECT_EQ(backend.fake.last_request<mediasession::SubRemoteVideo>("SubscribeRemoteVideo")
                  .SerializeAsString(),
              subscription.SerializeAsString());

    backend.fake.fail_with(grpc::StatusCode::INVALID_ARGUMENT);
    EXPECT_THROW(backend.client.SubscribeRemoteVideo(subscription), ServiceInvalidArgumentError);
}

}  // namespace
}  // namespace vanta::testing
