// The operations served by the audio, ringer, reset, system, screen, HDMI
// input, 802.1X, upgrade and feature clients, through a real API connection,
// with fakes of those backends on their fixed sockets. Every case runs in a
// private /tmp.

#include <chrono>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "api_harness.h"
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
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

template <typename Message>
Message text(const std::string& text_format) {
    Message message;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text_format, &message))
        << text_format;
    return message;
}

class DevicesHandlersTest : public ::testing::Test {
  protected:
    using ApiStub = vantaapi::VantaApi::Stub;

    // Calls `method` with `request` and a deadline well past any backend's.
    template <typename Request, typename Response>
    grpc::Status call(grpc::Status (ApiStub::*method)(grpc::ClientContext*, const Request&,
                                                      Response*),
                      const Request& request, Response& response) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 20s);
        return ((*stub_).*method)(&context, request, &response);
    }
    const google::protobuf::Empty empty_;

    sim::ResetBackend reset_;
    sim::VolumeMgrBackend volume_;
    sim::FeatureManagerBackend features_;
    sim::UpgradeManagerBackend upgrades_;
    sim::Ieee8021xBackend ieee8021x_;
    sim::SystemControllerBackend system_;
    sim::ScreenSettingBackend screen_;
    sim::HdmiRxBackend hdmi_;
    sim::RingerBackend ringer_;
    sim::BackendServer reset_server_{"unix:/tmp/reset_service", {&reset_}};
    sim::BackendServer volume_server_{"unix:/tmp/volumemgr_service", {&volume_}};
    sim::BackendServer features_server_{"unix:/tmp/featuremanager_service", {&features_}};
    sim::BackendServer upgrades_server_{"unix:/tmp/upgrademanager_service", {&upgrades_}};
    sim::BackendServer ieee8021x_server_{"unix:/tmp/ieee8021x_service", {&ieee8021x_}};
    sim::BackendServer system_server_{"unix:/tmp/systemcontroller_service", {&system_}};
    sim::BackendServer screen_server_{"unix:/tmp/screensetting_service", {&screen_}};
    sim::BackendServer hdmi_server_{"unix:/tmp/hdmirx_stub", {&hdmi_}};
    sim::BackendServer ringer_server_{"unix:/tmp/ringer", {&ringer_}};
    ConsoleCapture console_;
    ApiHarness api_;
    std::unique_ptr<ApiStub> stub_ = api_.client();
};

TEST_F(DevicesHandlersTest, VolumeOperationsAnswerTheVolumeManagersValues) {
    volume_.reply("SetVolume", text<volumemgr::VolumeStatus>("volume: 30"));
    volume_.reply("SetAudioMute", text<volumemgr::MuteStatus>("is_mute: true"));
    volume_.reply("CurrentVolumeControlPath",
                  text<volumemgr::AudioDeviceEvent>(
                      "index: 2 path: BLUETOOTH_HEADSET name: 'Buds' address: 'aa:bb' "
                      "device_state: DEVICE_STATE_CONNECTING"));
    volume_.reply("SetVolumeControlPath", text<volumemgr::SetAudioPathResponse>("success: true"));

    vantaapi::VolumeStatus volume;
    ASSERT_TRUE(
        call(&ApiStub::SetVolume, text<vantaapi::VolumeRequest>("volume: 30"), volume).ok());
    EXPECT_EQ(volume.volume(), 30u);
    vantaapi::MuteStatus mute;
    ASSERT_TRUE(call(&ApiStub::SetAudioMute,
                     text<vantaapi::MuteRequest>("mute_state: true method: kMuteMethodButton"),
                     mute)
                    .ok());
    EXPECT_TRUE(mute.is_mute());
    vantaapi::AvailablePathEvent current;
    ASSERT_TRUE(call(&ApiStub::ShowCurrentAudioPath, empty_, current).ok());
    EXPECT_EQ(current.ShortDebugString(),
              "index: 2 device: BLUETOOTH_HEADSET name: \"Buds\" address: \"aa:bb\" "
              "device_state: DEVICE_STATE_CONNECTING");
    vantaapi::SetAudioPathStatus selected;
    ASSERT_TRUE(call(&ApiStub::SetAudioPath, current, selected).ok());
    EXPECT_TRUE(selected.is_success());

    EXPECT_THAT(
        volume_.calls_with_requests(),
        ElementsAre("SetVolume(volume: 30)", "SetAudioMute(mute_state: true method: kUiApp)",
                    "CurrentVolumeControlPath()",
                    "SetVolumeControlPath(index: 2 path: BLUETOOTH_HEADSET name: \"Buds\" "
                    "address: \"aa:bb\" device_state: DEVICE_STATE_CONNECTING)"));
}

TEST_F(DevicesHandlersTest, AnOptionalAnswerWithoutResultIsUnavailableWithItsText) {
    volume_.fail_with(grpc::Status(grpc::StatusCode::INTERNAL, "mixer busy"));
    vantaapi::VolumeStatus volume;
    const grpc::Status status =
        call(&ApiStub::SetUltraSoundVolume, text<vantaapi::VolumeRequest>("volume: 5"), volume);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "GetUltraSoundVolume volumemgr client FAILED");
    EXPECT_THAT(console_.lines(),
                Contains("VolumeMgrClient ERROR: SetUltraSoundVolume request failed, grpc error: "
                         "mixer busy, code: INTERNAL"));
}

TEST_F(DevicesHandlersTest, FeatureOperations) {
    features_.reply("GetFeatureInfo",
                    text<featuremanager::FeatureInfo>(
                        "feature_name: 'signage' feature_state: ENABLE feature_type: PRODUCTION"));
    features_.reply("DisableFeature", text<featuremanager::RequestResult>("success: true"));

    vantaapi::FeatureInfo feature;
    ASSERT_TRUE(
        call(&ApiStub::GetFeature, text<vantaapi::FeatureInfo>("feature_name: 'signage'"), feature)
            .ok());
    EXPECT_EQ(feature.feature_name(), "signage");
    EXPECT_TRUE(feature.enabled());
    vantaapi::RequestStatus disabled;
    ASSERT_TRUE(call(&ApiStub::DisableFeature, feature, disabled).ok());
    EXPECT_TRUE(disabled.success());

    vantaapi::AllFeatures none;
    EXPECT_TRUE(call(&ApiStub::GetAllFeatures, empty_, none).ok());
    EXPECT_EQ(none.features_size(), 0);
    EXPECT_THAT(features_.calls_with_requests(),
                ElementsAre("GetFeatureInfo(feature_name: \"signage\")",
                            "DisableFeature(feature_name: \"signage\")", "GetAllFeatures()"));
}

TEST_F(DevicesHandlersTest, GetAllFeaturesWithFeaturesAnswersTheBoundsCheckText) {
    features_.reply("GetAllFeatures",
                    text<featuremanager::AllFeatures>("features { feature_name: 'a' }"));
    vantaapi::AllFeatures all;
    const grpc::Status status = call(&ApiStub::GetAllFeatures, empty_, all);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "CHECK failed: (index) < (current_size_): ");
}

TEST_F(DevicesHandlersTest, SystemControllerOperations) {
    system_.reply("GetState", text<systemcontroller::StateResponse>("state: AWAKE"));
    system_.reply("GetDeviceState",
                  text<systemcontroller::DeviceStateResponse>("device_state: RUNNING"));
    system_.reply("Reboot", text<systemcontroller::RequestStatus>("success: true"));

    vantaapi::SystemState state;
    ASSERT_TRUE(call(&ApiStub::GetSystemState, empty_, state).ok());
    EXPECT_EQ(state.state(), vantaapi::SystemState::AWAKE);
    vantaapi::DeviceState device;
    ASSERT_TRUE(call(&ApiStub::GetDeviceState, empty_, device).ok());
    EXPECT_EQ(device.state(), vantaapi::DeviceState::RUNNING);
    vantaapi::RequestStatus rebooted;
    ASSERT_TRUE(
        call(&ApiStub::Reboot, text<vantaapi::RebootRequest>("force: true"), rebooted).ok());
    EXPECT_TRUE(rebooted.success());
    vantaapi::RequestStatus cleared;
    ASSERT_TRUE(call(&ApiStub::ClearOobState, vantaapi::ClearOobRequest(), cleared).ok());
    EXPECT_FALSE(cleared.success());
    EXPECT_THAT(
        system_.calls_with_requests(),
        ElementsAre("GetState()", "GetDeviceState()", "Reboot(force: true)", "ClearOobState()"));
}

TEST_F(DevicesHandlersTest, GuardedCallsCopyTheAnswer) {
    screen_.reply("GetScreenBrightness", text<screensetting::ScreenBrightnessResponse>(
                                             "status { success: true } brightness_percentage: 80"));
    screen_.reply("SetScreenBacklight", text<screensetting::RequestStatus>("success: true"));
    ieee8021x_.reply("GetIeee8021xConfig",
                     text<ieee8021x::Ieee8021xConfigResponse>(
                         "config { ca_cert_handle: 'ca-1' client_cert_handle: 'cl-2' }"));
    ieee8021x_.reply("GetIeee8021xState",
                     text<ieee8021x::Ieee8021xStateResponse>("state { enabled: true }"));
    volume_.reply(
        "AvailableVolumeControlPath",
        text<volumemgr::AudioDeviceEventList>("device_list { index: 1 path: INTERNAL_SPEAKER_MIC } "
                                              "device_list { index: 4 path: USB_HEADSET }"));
    reset_.reply("RequestFactoryReset", text<reset::Response>("success: true"));
    upgrades_.reply("GetUpgradeInfo", text<upgrademanager::UpgradeInfo>("channel: 'preview'"));

    vantaapi::ScreenBrightnessStatus brightness;
    ASSERT_TRUE(call(&ApiStub::GetScreenBrightness, empty_, brightness).ok());
    EXPECT_TRUE(brightness.success());
    EXPECT_FLOAT_EQ(brightness.brightness_percentage(), 80.0f);
    vantaapi::RequestStatus backlight;
    ASSERT_TRUE(call(&ApiStub::SetScreenBacklight,
                     text<vantaapi::ScreenBacklight>("backlight_state: 0.5"), backlight)
                    .ok());
    EXPECT_TRUE(backlight.success());
    vantaapi::Wired8021xConfiguration config;
    ASSERT_TRUE(call(&ApiStub::Wired8021xGetConfigInfo, empty_, config).ok());
    EXPECT_EQ(config.ca_cert_handle(), "ca-1");
    EXPECT_EQ(config.client_cert_handle(), "cl-2");
    vantaapi::Ieee8021xState ieee8021x_state;
    ASSERT_TRUE(call(&ApiStub::GetIeee8021xState, empty_, ieee8021x_state).ok());
    EXPECT_TRUE(ieee8021x_state.enabled());
    vantaapi::AvailablePathEventList paths;
    ASSERT_TRUE(call(&ApiStub::ShowAvailableAudioPath, empty_, paths).ok());
    EXPECT_EQ(paths.ShortDebugString(),
              "device_list { index: 1 device: INTERNAL_SPEAKER_MIC } "
              "device_list { index: 4 device: USB_HEADSET }");
    vantaapi::Response reset;
    ASSERT_TRUE(call(&ApiStub::RequestFactoryReset, empty_, reset).ok());
    EXPECT_TRUE(reset.success());
    vantaapi::UpgradeInfo info;
    ASSERT_TRUE(call(&ApiStub::GetUpgradeInfo, vantaapi::StatusRequest(), info).ok());
    EXPECT_EQ(info.channel(), "preview");

    EXPECT_THAT(screen_.calls_with_requests(),
                ElementsAre("GetScreenBrightness()", "SetScreenBacklight(backlight_state: 0.5)"));
}

TEST_F(DevicesHandlersTest, AGuardedCallMapsTheBackendsError) {
    screen_.fail_with(grpc::Status(grpc::StatusCode::NOT_FOUND, "no panel"));
    vantaapi::ScreenBrightnessStatus brightness;
    const grpc::Status status = call(&ApiStub::GetScreenBrightness, empty_, brightness);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::NOT_FOUND);
    EXPECT_EQ(status.error_message(),
              "GetScreenBrightness: [ScreenSettingService::GetScreenBrightness: NOT_FOUND - "
              "[no panel]]");
}

TEST_F(DevicesHandlersTest, AGuardedCallPastItsDeadlineAnswersDeadlineExceeded) {
    // The volume manager's calls have 2 s.
    volume_.delay_answers(2500ms);
    vantaapi::AudioHubStatus hub;
    grpc::Status status = call(&ApiStub::IsAudioHubEnabled, empty_, hub);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(status.error_message(),
              "IsAudioHubEnabled: [VolumeManager::IsAudioHubEnabled: DEADLINE_EXCEEDED - "
              "[Deadline Exceeded]]");

    // The upgrade manager's calls have ten minutes: it answers the code itself.
    upgrades_.fail_with(grpc::Status(grpc::StatusCode::DEADLINE_EXCEEDED, "catalogue timed out"));
    vantaapi::UpgradeInfo info;
    status = call(&ApiStub::GetUpgradeInfo, vantaapi::StatusRequest(), info);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(status.error_message(),
              "GetUpgradeInfo: [UpgradeManager::GetUpgradeInfo: DEADLINE_EXCEEDED - "
              "[catalogue timed out]]");
}

TEST_F(DevicesHandlersTest, RingerAndResetCommands) {
    ringer_.reply("StartRinger", text<ringer::RequestStatus>("success: true"));
    reset_.reply("FactoryReset", text<reset::Response>("success: true"));

    vantaapi::RequestStatus ringing;
    ASSERT_TRUE(
        call(&ApiStub::StartRinger, text<vantaapi::RingerData>("name: 'Chime'"), ringing).ok());
    EXPECT_TRUE(ringing.success());
    vantaapi::RequestStatus reset;
    ASSERT_TRUE(call(&ApiStub::FactoryReset, vantaapi::FactoryResetRequest(), reset).ok());
    EXPECT_TRUE(reset.success());
    EXPECT_THAT(ringer_.calls_with_requests(), ElementsAre("StartRinger(name: \"Chime\")"));
    EXPECT_THAT(reset_.calls_with_requests(), ElementsAre("FactoryReset()"));
}

TEST_F(DevicesHandlersTest, RingerAndResetFailuresAreLoggedAndUnavailable) {
    ringer_.fail_with(grpc::Status(grpc::StatusCode::INTERNAL, "no speaker"));
    reset_.fail_with(grpc::Status(grpc::StatusCode::FAILED_PRECONDITION, "in a call"));

    vantaapi::RequestStatus stopped;
    grpc::Status status = call(&ApiStub::StopRinger, empty_, stopped);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "StopRinger ringer client FAILED");
    vantaapi::RequestStatus shutdown;
    status = call(&ApiStub::Shutdown, vantaapi::ShutdownRequest(), shutdown);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "resetclient: Shutdown failed");

    const auto lines = console_.lines();
    EXPECT_THAT(lines, Contains("VantaApi ERROR: StopRinger: Caught ringer_client exception: "
                                "Ringer Service::StopRinger: INTERNAL - [no speaker]"));
    EXPECT_THAT(lines, Contains("VantaApi ERROR: Shutdown: Caught reset_client exception: "
                                "ResetService::Shutdown: FAILED_PRECONDITION - [in a call]"));
}

TEST_F(DevicesHandlersTest, UnguardedUpgradeAndShareOperations) {
    upgrades_.reply("GetVersionInfo", text<upgrademanager::VersionInfo>("version: '3.1.0'"));
    upgrades_.reply("GetUpgradeState", text<upgrademanager::UpgradeState>("state: DOWNLOADING"));
    hdmi_.reply("StartLocalWiredShare", text<hdmirx::RenderResponse>("status: SUCCESS"));
    hdmi_.reply("StopLocalWiredShare", text<hdmirx::RenderResponse>("status: FAILURE"));

    vantaapi::VersionInfo version;
    ASSERT_TRUE(call(&ApiStub::GetVersion, empty_, version).ok());
    EXPECT_EQ(version.version(), "3.1.0");
    vantaapi::UpgradeState state;
    ASSERT_TRUE(call(&ApiStub::GetUpgradeState, vantaapi::StatusRequest(), state).ok());
    EXPECT_EQ(state.state(), vantaapi::UpgradeState::IN_DOWNLOADING);
    vantaapi::RequestStatus postponed;
    ASSERT_TRUE(call(&ApiStub::PostponeDownload,
                     text<vantaapi::PostponeDownloadRequest>("postpone_seconds: 900"), postponed)
                    .ok());
    EXPECT_TRUE(postponed.success());
    vantaapi::RequestStatus limited;
    ASSERT_TRUE(call(&ApiStub::SetUpgradeLimitHour,
                     text<vantaapi::UpgradeLimitHourRequest>("limit_hour: 2"), limited)
                    .ok());
    vantaapi::RequestStatus started;
    ASSERT_TRUE(call(&ApiStub::StartLocalWiredShare, empty_, started).ok());
    EXPECT_TRUE(started.success());
    vantaapi::RequestStatus stopped;
    ASSERT_TRUE(call(&ApiStub::StopLocalWiredShare, empty_, stopped).ok());
    EXPECT_FALSE(stopped.success());
    EXPECT_THAT(upgrades_.calls_with_requests(),
                ElementsAre("GetVersionInfo()", "GetUpgradeState()",
                            "PostponeDownload(postpone_seconds: 900)",
                            "SetUpgradeLimitHour(upgrade_limit_hour: 2)"));

    upgrades_.fail_with(grpc::Status(grpc::StatusCode::NOT_FOUND, "no package"));
    vantaapi::RequestStatus installed;
    const grpc::Status status =
        call(&ApiStub::InstallLocalPackage,
             text<vantaapi::InstallLocalPackageRequest>("package_file_name: 'x.pkg'"), installed);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(status.error_message(), "Unexpected error in RPC handling");
}

TEST_F(DevicesHandlersTest, HdmiStateNeedsWiredSharingAndAsksNoBackendWithout) {
    vantaapi::HdmiRxState state;
    grpc::Status status = call(&ApiStub::GetHdmiState, empty_, state);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNIMPLEMENTED);
    EXPECT_EQ(status.error_message(), "GetHdmiState NOT SUPPORTED");
    vantaapi::LocalWiredShareStatistics statistics;
    status = call(&ApiStub::GetLocalWiredShareStatistics, empty_, statistics);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNIMPLEMENTED);
    EXPECT_THAT(hdmi_.calls_with_requests(), IsEmpty());
}

}  // namespace
}  // namespace vanta::testing
