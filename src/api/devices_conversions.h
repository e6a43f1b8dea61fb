#pragma once

// Conversions between the API's messages and those of the volume manager,
// system controller, upgrade manager and feature manager.
//
// Enumerations keep their member where both sides have it and fall back to
// the API's (or backend's) unknown member otherwise. The two values that
// generated enumerations reserve are refused with std::runtime_error naming
// the conversion.

#include "featuremanager.pb.h"
#include "systemcontroller.pb.h"
#include "upgrademanager.pb.h"
#include "vantaapimessages.pb.h"
#include "volumemgr.pb.h"

namespace vanta::api {

// The volume or number of ticks of the request; the API does not say who asks,
// so the method stays kUnknown.
volumemgr::VolumeRequest backend_volume_request(const vantaapi::VolumeRequest& request);
volumemgr::MuteRequest backend_mute_request(const vantaapi::MuteRequest& request);

volumemgr::AudioDeviceEvent backend_audio_path(const vantaapi::AvailablePathEvent& path);
void copy_audio_path(const volumemgr::AudioDeviceEvent& from, vantaapi::AvailablePathEvent* to);

vantaapi::SystemState::State api_system_state(systemcontroller::SystemState state);
vantaapi::DeviceState::State api_device_state(
    systemcontroller::DeviceStateResponse::DeviceState state);
vantaapi::UpgradeState::code api_upgrade_state(upgrademanager::UpgradeState::code state);

// The name, and `enabled` exactly when the feature's state is ENABLE.
void copy_feature(const featuremanager::FeatureInfo& from, vantaapi::FeatureInfo* to);

}  // namespace vanta::api
