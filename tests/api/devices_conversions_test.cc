// Conversions between the API's messages and the volume manager's, system
// controller's, upgrade manager's and feature manager's.

#include <cstdint>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "api/devices_conversions.h"

namespace vanta::testing {
namespace {

constexpr int kLowSentinel = std::numeric_limits<int32_t>::min();
constexpr int kHighSentinel = std::numeric_limits<int32_t>::max();

TEST(DevicesConversions, SystemStatesGoByNameNotNumber) {
    EXPECT_EQ(api::api_system_state(systemcontroller::AWAKE), vantaapi::SystemState::AWAKE);
    EXPECT_EQ(api::api_system_state(systemcontroller::STANDBY), vantaapi::SystemState::STANDBY);
    EXPECT_EQ(api::api_system_state(systemcontroller::HALFWAKE), vantaapi::SystemState::HALFWAKE);
    EXPECT_EQ(api::api_system_state(static_cast<systemcontroller::SystemState>(9)),
              vantaapi::SystemState::UNKNOWN);
    EXPECT_THROW(api::api_system_state(static_cast<systemcontroller::SystemState>(kHighSentinel)),
                 std::runtime_error);
}

TEST(DevicesConversions, UpgradeStatesKeepTheirMeaning) {
    using Backend = upgrademanager::UpgradeState;
    using Api = vantaapi::UpgradeState;
    const std::pair<Backend::code, Api::code> table[] = {
        {Backend::UNKNOWN, Api::UNKNOWN},
        {Backend::IDLE, Api::IDLE},
        {Backend::UPGRADE_AVAILABLE, Api::UNKNOWN},
        {Backend::POSTPONED, Api::POSTPONED},
        {Backend::SYSTEM_IN_USE, Api::UNKNOWN},
        {Backend::DOWNLOADING, Api::IN_DOWNLOADING},
        {Backend::INSTALLING, Api::IN_PROGRESS},
        {Backend::STARTING_UPGRADE, Api::IN_PROGRESS},
        {Backend::REBOOTING, Api::REBOOTING},
        {Backend::ERROR, Api::UNKNOWN},
        {Backend::NEW_VERSION_AVAILABLE, Api::NEW_VERSION_AVAILABLE},
        {Backend::CRITICAL_VERSION, Api::CRITICAL_VERSION},
    };
    for (const auto& [backend, api_state] : table) {
        EXPECT_EQ(api::api_upgrade_state(backend), api_state) << backend;
    }
    EXPECT_THROW(api::api_upgrade_state(static_cast<Backend::code>(kLowSentinel)),
                 std::runtime_error);
}

TEST(DevicesConversions, DeviceStatesAndAudioPathsKeepTheNumberOfASharedMember) {
    EXPECT_EQ(api::api_device_state(systemcontroller::DeviceStateResponse::ERROR),
              vantaapi::DeviceState::ERROR);
    EXPECT_EQ(
        api::api_device_state(static_cast<systemcontroller::DeviceStateResponse::DeviceState>(7)),
        vantaapi::DeviceState::BOOT);

    vantaapi::AvailablePathEvent path;
    path.set_device(static_cast<vantaapi::AudioDevice>(12));
    path.set_device_state(vantaapi::DEVICE_STATE_DISCONNECTED);
    const auto backend = api::backend_audio_path(path);
    EXPECT_EQ(backend.path(), volumemgr::UNKNOWN_PATH_TYPE);
    EXPECT_EQ(backend.device_state(), volumemgr::DEVICE_STATE_DISCONNECTED);

    path.set_device(static_cast<vantaapi::AudioDevice>(kHighSentinel));
    EXPECT_THROW(api::backend_audio_path(path), std::runtime_error);
}

// The rest of these conversions is seen through the API (handler_cases_test.cc).
TEST(DevicesConversions, NoVolumeGivenNoneSentAndOnlyEnableIsEnabled) {
    EXPECT_EQ(api::backend_volume_request(vantaapi::VolumeRequest()).data_case(),
              volumemgr::VolumeRequest::DATA_NOT_SET);

    featuremanager::FeatureInfo feature;
    vantaapi::FeatureInfo api_feature;
    api_feature.set_enabled(true);
    for (const auto state : {featuremanager::DISABLE, featuremanager::UNNAMED}) {
        feature.set_feature_state(state);
        api::copy_feature(feature, &api_feature);
        EXPECT_FALSE(api_feature.enabled());
    }
}

}  // namespace
}  // namespace vanta::testing
