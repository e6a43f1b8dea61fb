// The audio, ringer, reset, system, screen, HDMI input, 802.1X, upgrade and
// feature clients against fakes of their backends on temporary sockets: what
// each sends and how it reads the answer, and the two ways a call fails.

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "clients/featuremanager/featuremanager_client_impl.h"
#include "clients/hdmirx/hdmirx_client_impl.h"
#include "clients/ieee8021x/ieee8021x_client_impl.h"
#include "clients/reset/reset_client_impl.h"
#include "clients/ringer/ringer_client_impl.h"
#include "clients/screensetting/screensetting_client_impl.h"
#include "clients/systemcontroller/systemcontroller_client_impl.h"
#include "clients/upgrademanager/upgrademanager_client_impl.h"
#include "clients/volumemgr/volumemgr_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
#include "sim/backend_server.h"
#include "sim/featuremanager_backend.h"
#include "sim/hdmirx_backend.h"
#include "sim/ieee8021x_backend.h"
#include "sim/reset_backend.h"
#include "sim/ringer_backend.h"
#include "sim/screensetting_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/upgrademanager_backend.h"
#include "sim/volumemgr_backend.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

// A fake backend on a temporary socket and the client of `Client` bound to it,
// named as the device's `row` names it.
template <typename Fake, typename Client>
struct Backend {
    explicit Backend(const Endpoint& row, std::chrono::milliseconds timeout = 2000ms)
        : client(endpoint_at(row, address, timeout), logger) {}

    TempDir dir;
    const std::string address = dir.socket_address("backend");
    Fake fake;
    sim::BackendServer server{address, {&fake}};
    RecordingLogger logger;
    Client client;
};

template <typename Message>
Message text(const std::string& text_format) {
    Message message;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text_format, &message))
        << text_format;
    return message;
}

TEST(DevicesClients, StyleAGivesNothingForAnAbsentBackendAndRaisesForOtherCodes) {
    Backend<sim::VolumeMgrBackend, VolumeMgrClientImpl> volume{device_endpoints().volumemgr};
    volume.fake.fail_with(grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
    EXPECT_FALSE(volume.client.VolumeUp(volumemgr::VolumeRequest()));
    EXPECT_THAT(volume.logger.lines(),
                ElementsAre("E VolumeUp request failed, grpc error: away, code: UNAVAILABLE"));

    volume.fake.fail_with(grpc::Status(grpc::StatusCode::INVALID_ARGUMENT, "bad"));
    try {
        volume.client.GetCurrentVolume();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "GetCurrentVolume: unrecoverable grpc error: INVALID_ARGUMENT");
    }
}

TEST(DevicesClients, StyleBRaisesTheTypedErrorNamingServiceAndOperation) {
    Backend<sim::ResetBackend, ResetClientImpl> reset{device_endpoints().reset};
    reset.fake.fail_with(grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
    try {
        reset.client.FactoryReset();
        FAIL() << "no exception";
    } catch (const ServiceUnavailableError& e) {
        EXPECT_STREQ(e.what(), "ResetService::FactoryReset: UNAVAILABLE - [away]");
    }

    Backend<sim::VolumeMgrBackend, VolumeMgrClientImpl> volume(device_endpoints().volumemgr, 100ms);
    volume.fake.delay_answers(500ms);
    EXPECT_THROW(volume.client.IsAudioHubEnabled(), ServiceDeadlineError);
    EXPECT_TRUE(volume.logger.lines().empty());
}

TEST(DevicesClients, Reset) {
    Backend<sim::ResetBackend, ResetClientImpl> reset{device_endpoints().reset};
    reset.fake.reply("FactoryReset", text<reset::Response>("success: true"));
    reset.fake.reply("Shutdown", text<reset::Response>("success: true"));
    EXPECT_TRUE(reset.client.FactoryReset());
    EXPECT_FALSE(reset.client.RequestFactoryReset());
    EXPECT_FALSE(reset.client.RestartNetwork());
    EXPECT_TRUE(reset.client.Shutdown());
    EXPECT_THAT(
        reset.fake.calls_with_requests(),
        ElementsAre("FactoryReset()", "RequestFactoryReset()", "RestartNetwork()", "Shutdown()"));
}

TEST(DevicesClients, VolumeManager) {
    Backend<sim::VolumeMgrBackend, VolumeMgrClientImpl> volume{device_endpoints().volumemgr};
    volume.fake.reply("VolumeUp", text<volumemgr::VolumeStatus>("volume: 7"));
    volume.fake.reply("SetAudioMute", text<volumemgr::MuteStatus>("is_mute: true"));
    volume.fake.reply("AvailableVolumeControlPath",
                      text<volumemgr::AudioDeviceEventList>(
                          "device_list { index: 1 path: USB_HEADSET name: 'Jabra' "
                          "address: 'usb-1' device_state: DEVICE_STATE_CONNECTED } "
                          "device_list { index: 2 path: BLUETOOTH_HEADSET }"));
    volume.fake.reply("CurrentVolumeControlPath",
                      text<volumemgr::AudioDeviceEvent>("index: 3 name: 'Speaker'"));
    volume.fake.reply("SetAudioHub", text<volumemgr::SetAudioHubStatus>("is_enabled: true"));
    volume.fake.reply("IsAudioHubEnabled", text<volumemgr::AudioHubStatus>("is_enabled: true"));

    const auto up = volume.client.VolumeUp(text<volumemgr::VolumeRequest>("volume_ticks: 2"));
    ASSERT_TRUE(up);
    EXPECT_EQ(up->volume(), 7u);
    const auto mute =
        volume.client.SetAudioMute(text<volumemgr::MuteRequest>("mute_state: true method: kUiApp"));
    ASSERT_TRUE(mute);
    EXPECT_TRUE(mute->is_mute());
    const auto paths = volume.client.AvailableVolumeControlPath();
    ASSERT_EQ(paths.device_list_size(), 2);
    EXPECT_EQ(paths.device_list(0).index(), 1u);
    EXPECT_EQ(paths.device_list(0).path(), volumemgr::USB_HEADSET);
    EXPECT_EQ(paths.device_list(0).name(), "Jabra");
    EXPECT_EQ(paths.device_list(0).address(), "usb-1");
    EXPECT_EQ(paths.device_list(0).device_state(), volumemgr::DEVICE_STATE_CONNECTED);
    EXPECT_EQ(paths.device_list(1).path(), volumemgr::BLUETOOTH_HEADSET);
    const auto current = volume.client.CurrentVolumeControlPath();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->index(), 3u);
    EXPECT_EQ(current->name(), "Speaker");
    const auto hub = volume.client.SetAudioHub(true);
    ASSERT_TRUE(hub);
    EXPECT_TRUE(hub->is_enabled());
    EXPECT_TRUE(volume.client.IsAudioHubEnabled());
    const auto ringer = volume.client.GetRingerVolume();
    ASSERT_TRUE(ringer);
    EXPECT_EQ(ringer->volume(), 0u);

    EXPECT_THAT(
        volume.fake.calls_with_requests(),
        ElementsAre("VolumeUp(volume_ticks: 2)", "SetAudioMute(mute_state: true method: kUiApp)",
                    "AvailableVolumeControlPath()", "CurrentVolumeControlPath()",
                    "SetAudioHub(audio_hub_state: true)", "IsAudioHubEnabled()",
                    "GetRingerVolume()"));
}

TEST(DevicesClients, FeatureManager) {
    Backend<sim::FeatureManagerBackend, FeatureManagerClientImpl> features{
        device_endpoints().featuremanager};
    features.fake.reply("GetFeatureInfo", text<featuremanager::FeatureInfo>(
                                              "feature_name: 'whiteboard' feature_state: ENABLE "
                                              "feature_type: DEVELOPMENT"));
    features.fake.reply("GetAllFeatures",
                        text<featuremanager::AllFeatures>(
                            "features { feature_name: 'a' } features { feature_name: 'b' "
                            "feature_state: UNNAMED }"));
    features.fake.reply("EnableFeature", text<featuremanager::RequestResult>("success: true"));

    const auto info = features.client.GetFeatureInfo("whiteboard");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->feature_name(), "whiteboard");
    EXPECT_EQ(info->feature_state(), featuremanager::ENABLE);
    EXPECT_EQ(info->feature_type(), featuremanager::DEVELOPMENT);
    const auto all = features.client.GetAllFeatures();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->features_size(), 2);
    EXPECT_EQ(all->features(1).feature_name(), "b");
    EXPECT_EQ(all->features(1).feature_state(), featuremanager::UNNAMED);
    const auto enabled = features.client.EnableFeature("x");
    ASSERT_TRUE(enabled);
    EXPECT_TRUE(enabled->success());
    const auto disabled = features.client.DisableFeature("y");
    ASSERT_TRUE(disabled);
    EXPECT_FALSE(disabled->success());
    EXPECT_THAT(
        features.fake.calls_with_requests(),
        ElementsAre("GetFeatureInfo(feature_name: \"whiteboard\")", "GetAllFeatures()",
                    "EnableFeature(feature_name: \"x\")", "DisableFeature(feature_name: \"y\")"));
}

TEST(DevicesClients, UpgradeManager) {
    Backend<sim::UpgradeManagerBackend, upgrademanager::UpgradeManagerClientImpl> upgrades{
        device_endpoints().upgrademanager};
    upgrades.fake.reply("GetVersionInfo", text<upgrademanager::VersionInfo>("version: '2.4.1'"));
    upgrades.fake.reply("GetUpgradeInfo", text<upgrademanager::UpgradeInfo>("channel: 'beta'"));
    upgrades.fake.reply("GetUpgradeState",
                        text<upgrademanager::UpgradeState>("state: CRITICAL_VERSION"));
    upgrades.fake.reply("InstallLocalPackage",
                        text<upgrademanager::InstallLocalPackageStatus>("status: true"));

    EXPECT_EQ(upgrades.client.GetVersionInfo(), "2.4.1");
    EXPECT_EQ(upgrades.client.GetUpgradeInfo(), "beta");
    EXPECT_EQ(upgrades.client.GetUpgradeState(), upgrademanager::UpgradeState::CRITICAL_VERSION);
    EXPECT_TRUE(upgrades.client.InstallLocalPackage("/media/usb/image.pkg"));
    upgrades.client.StartDownload();
    upgrades.client.PostponeDownload(3600);
    upgrades.client.SetUpgradeLimitHour(3);
    upgrades.client.SetUpgradeChannel("stable");
    EXPECT_THAT(upgrades.fake.calls_with_requests(),
                ElementsAre("GetVersionInfo()", "GetUpgradeInfo()", "GetUpgradeState()",
                            "InstallLocalPackage(package_file_name: \"/media/usb/image.pkg\")",
                            "StartDownload()", "PostponeDownload(postpone_seconds: 3600)",
                            "SetUpgradeLimitHour(upgrade_limit_hour: 3)",
                            "SetUpgradeChannel(channel: \"stable\")"));
}

TEST(DevicesClients, Ieee8021x) {
    Backend<sim::Ieee8021xBackend, Ieee8021xClientImpl> ieee8021x{device_endpoints().ieee8021x};
    ieee8021x.fake.reply("GetIeee8021xConfig",
                         text<ieee8021x::Ieee8021xConfigResponse>(
                             "status { success: true } config { ca_cert_path: '/ca' "
                             "identity: 'room-4' ca_cert_handle: 'ca-7' "
                             "client_cert_handle: 'client-9' }"));
    ieee8021x.fake.reply("GetIeee8021xState",
                         text<ieee8021x::Ieee8021xStateResponse>("state { enabled: true }"));
    ieee8021x.fake.reply("SetIeee8021xState", text<ieee8021x::RequestStatus>("success: true"));

    const auto config = ieee8021x.client.GetIeee8021xConfig();
    EXPECT_EQ(config.ca_cert_path(), "/ca");
    EXPECT_EQ(config.identity(), "room-4");
    EXPECT_EQ(config.ca_cert_handle(), "ca-7");
    EXPECT_EQ(config.client_cert_handle(), "client-9");
    EXPECT_TRUE(ieee8021x.client.GetIeee8021xState());
    EXPECT_TRUE(ieee8021x.client.SetIeee8021xState(true));
    EXPECT_THAT(ieee8021x.fake.calls_with_requests(),
                ElementsAre("GetIeee8021xConfig()", "GetIeee8021xState()",
                            "SetIeee8021xState(enabled: true)"));
}

TEST(DevicesClients, SystemController) {
    Backend<sim::SystemControllerBackend, systemcontroller::ClientImpl> system{
        device_endpoints().systemcontroller};
    system.fake.reply("GetState",
                      text<systemcontroller::StateResponse>("state: HALFWAKE reason: MEETING"));
    system.fake.reply("GetDeviceState",
                      text<systemcontroller::DeviceStateResponse>("device_state: OUT_OF_BOX"));
    system.fake.reply("Reboot", text<systemcontroller::RequestStatus>("success: true"));

    const auto state = system.client.GetState();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->state(), systemcontroller::HALFWAKE);
    EXPECT_EQ(state->reason(), systemcontroller::MEETING);
    const auto device = system.client.GetDeviceState();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->device_state(), systemcontroller::DeviceStateResponse::OUT_OF_BOX);
    const auto reboot = system.client.Reboot(true);
    ASSERT_TRUE(reboot);
    EXPECT_TRUE(reboot->success());
    const auto cleared = system.client.ClearOobState();
    ASSERT_TRUE(cleared);
    EXPECT_FALSE(cleared->success());
    EXPECT_THAT(
        system.fake.calls_with_requests(),
        ElementsAre("GetState()", "GetDeviceState()", "Reboot(force: true)", "ClearOobState()"));
}

TEST(DevicesClients, ScreenSetting) {
    Backend<sim::ScreenSettingBackend, screensetting::ScreenSettingClientImpl> screen{
        device_endpoints().screensetting};
    screen.fake.reply("GetScreenBrightness",
                      text<screensetting::ScreenBrightnessResponse>(
                          "status { success: true } brightness_percentage: 62.5"));
    screen.fake.reply("GetScreenBacklight",
                      text<screensetting::ScreenBacklightResponse>(
                          "status { failure_reason: 'off' } backlight_state: 0.25"));
    screen.fake.reply("SetScreenBrightness", text<screensetting::RequestStatus>("success: true"));

    const auto brightness = screen.client.GetScreenBrightness();
    EXPECT_TRUE(brightness.status().success());
    EXPECT_FLOAT_EQ(brightness.brightness_percentage(), 62.5f);
    const auto backlight = screen.client.GetScreenBacklight();
    EXPECT_EQ(backlight.status().failure_reason(), "off");
    EXPECT_FLOAT_EQ(backlight.backlight_state(), 0.25f);
    EXPECT_TRUE(screen.client.SetScreenBrightness(40.0f));
    EXPECT_FALSE(screen.client.SetScreenBacklight(1.0f));
    EXPECT_THAT(screen.fake.calls_with_requests(),
                ElementsAre("GetScreenBrightness()", "GetScreenBacklight()",
                            "SetScreenBrightness(brightness_percentage: 40)",
                            "SetScreenBacklight(backlight_state: 1)"));
}

TEST(DevicesClients, HdmiRx) {
    Backend<sim::HdmiRxBackend, HdmiRxClientImpl> hdmi{device_endpoints().hdmirx};
    hdmi.fake.reply("GetHdmiState", text<hdmirx::HdmiState>("plugged: PLUGGED_IN"));
    hdmi.fake.reply("StartLocalWiredShare", text<hdmirx::RenderResponse>("status: SUCCESS"));
    hdmi.fake.reply("StopLocalWiredShare", text<hdmirx::RenderResponse>("status: FAILURE"));
    hdmi.fake.reply(
        "GetLocalWiredShareStatistics",
        text<hdmirx::LocalWiredShareStatistics>("average_output_frame_rate: 30 duration_secs: 95"));

    const auto state = hdmi.client.GetHdmiState();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->plugged(), hdmirx::HdmiState::PLUGGED_IN);
    EXPECT_EQ(hdmi.client.StartLocalWiredShare(), hdmirx::RenderResponse::SUCCESS);
    EXPECT_EQ(hdmi.client.StopLocalWiredShare(), hdmirx::RenderResponse::FAILURE);
    const auto statistics = hdmi.client.GetLocalWiredShareStatistics();
    ASSERT_TRUE(statistics);
    EXPECT_EQ(statistics->average_output_frame_rate(), 30u);
    EXPECT_EQ(statistics->duration_secs(), 95u);
}

TEST(DevicesClients, Ringer) {
    Backend<sim::RingerBackend, ringer::ClientImpl> ringer{device_endpoints().ringer};
    ringer.fake.reply("StartRinger", text<ringer::RequestStatus>("success: true"));
    EXPECT_TRUE(ringer.client.StartRinger("Chime"));
    EXPECT_FALSE(ringer.client.StopRinger());
    EXPECT_THAT(ringer.fake.calls_with_requests(),
                ElementsAre("StartRinger(name: \"Chime\")", "StopRinger()"));
}

}  // namespace
}  // namespace vanta::testing
