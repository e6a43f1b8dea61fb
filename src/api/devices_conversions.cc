#include "api/devices_conversions.h"

#include "api/enum_by_number.h"

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace vanta::api {

volumemgr::VolumeRequest backend_volume_request(const vantaapi::VolumeRequest& request) {
    volumemgr::VolumeRequest backend;
    switch (request.data_case()) {
        case vantaapi::VolumeRequest::kVolumeTicks:
            backend.set_volume_ticks(request.volume_ticks());
            break;
        case vantaapi::VolumeRequest::kVolume:
            backend.set_volume(request.volume());
            break;
        case vantaapi::VolumeRequest::DATA_NOT_SET:
            break;
    }
    return backend;
}

volumemgr::MuteRequest backend_mute_request(const vantaapi::MuteRequest& request) {
    volumemgr::MuteRequest backend;
    backend.set_mute_state(request.mute_state());
    // Button presses reach the volume manager as the UI's own requests.
    backend.set_method(
        by_number(request.method(), volumemgr::Method_IsValid, volumemgr::kUnknown, "mute method"));
    return backend;
}

volumemgr::AudioDeviceEvent backend_audio_path(const vantaapi::AvailablePathEvent& path) {
    volumemgr::AudioDeviceEvent backend;
    backend.set_index(path.index());
    backend.set_path(by_number(path.device(), volumemgr::AudioPathType_IsValid,
                               volumemgr::UNKNOWN_PATH_TYPE, "audio device"));
    backend.set_name(path.name());
    backend.set_address(path.address());
    backend.set_device_state(by_number(path.device_state(), volumemgr::AudioPathState_IsValid,
                                       volumemgr::DEVICE_STATE_NONE, "audio path state"));
    return backend;
}

void copy_audio_path(const volumemgr::AudioDeviceEvent& from, vantaapi::AvailablePathEvent* to) {
    to->set_index(from.index());
    to->set_device(by_number(from.path(), vantaapi::AudioDevice_IsValid, vantaapi::UNKNOWN_DEVICE,
                             "audio path type"));
    to->set_name(from.name());
    to->set_address(from.address());
    to->set_device_state(by_number(from.device_state(), vantaapi::AudioPathState_IsValid,
                                   vantaapi::DEVICE_STATE_NONE, "audio path state"));
}

vantaapi::SystemState::State api_system_state(systemcontroller::SystemState state) {
    refuse_enum_sentinel(state, "system state");
    switch (state) {
        case systemcontroller::AWAKE:
            return vantaapi::SystemState::AWAKE;
        case systemcontroller::HALFWAKE:
            return vantaapi::SystemState::HALFWAKE;
        case systemcontroller::STANDBY:
            return vantaapi::SystemState::STANDBY;
        default:
            return vantaapi::SystemState::UNKNOWN;
    }
}

vantaapi::DeviceState::State api_device_state(
    systemcontroller::DeviceStateResponse::DeviceState state) {
    // Unknown device states read as BOOT, the API's first state.
    return by_number(state, vantaapi::DeviceState::State_IsValid, vantaapi::DeviceState::BOOT,
                     "device state");
}

vantaapi::UpgradeState::code api_upgrade_state(upgrademanager::UpgradeState::code state) {
    using Backend = upgrademanager::UpgradeState;
    using Api = vantaapi::UpgradeState;
    refuse_enum_sentinel(state, "upgrade state");
    switch (state) {
        case Backend::IDLE:
            return Api::IDLE;
        case Backend::DOWNLOADING:
            return Api::IN_DOWNLOADING;
        case Backend::STARTING_UPGRADE:
        case Backend::INSTALLING:
            return Api::IN_PROGRESS;
        case Backend::REBOOTING:
            return Api::REBOOTING;
        case Backend::POSTPONED:
            return Api::POSTPONED;
        case Backend::NEW_VERSION_AVAILABLE:
            return Api::NEW_VERSION_AVAILABLE;
        case Backend::CRITICAL_VERSION:
            return Api::CRITICAL_VERSION;
        default:
            return Api::UNKNOWN;
    }
}

void copy_feature(const featuremanager::FeatureInfo& from, vantaapi::FeatureInfo* to) {
    to->set_feature_name(from.feature_name());
    to->set_enabled(from.feature_state() == featuremanager::ENABLE);
}

}  // namespace vanta::api
