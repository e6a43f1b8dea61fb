#pragma once

#include <google/protobuf/empty.pb.h>

#include "sim/scripted_backend.h"
#include "volumemgr.grpc.pb.h"

namespace vanta::sim {

// The volume manager.
class VolumeMgrBackend final : public vanta::volumemgr::VolumeMgr::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using VolumeRequest = vanta::volumemgr::VolumeRequest;
    using VolumeStatus = vanta::volumemgr::VolumeStatus;
    using MuteStatus = vanta::volumemgr::MuteStatus;

  public:
    VANTA_SCRIPTED_OPERATION(GetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(VolumeUp, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(VolumeDown, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(GetCurrentVolume, Empty, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetRingerVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(GetRingerVolume, Empty, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetAudioMute, vanta::volumemgr::MuteRequest, MuteStatus)
    VANTA_SCRIPTED_OPERATION(ToggleAudioMute, Empty, MuteStatus)
    VANTA_SCRIPTED_OPERATION(IsAudioMute, Empty, MuteStatus)
    VANTA_SCRIPTED_OPERATION(SetVolumeControlPath, vanta::volumemgr::AudioDeviceEvent,
                             vanta::volumemgr::SetAudioPathResponse)
    VANTA_SCRIPTED_OPERATION(AvailableVolumeControlPath, Empty,
                             vanta::volumemgr::AudioDeviceEventList)
    VANTA_SCRIPTED_OPERATION(CurrentVolumeControlPath, Empty, vanta::volumemgr::AudioDeviceEvent)
    VANTA_SCRIPTED_OPERATION(SetAudioHub, vanta::volumemgr::AudioHubRequest,
                             vanta::volumemgr::SetAudioHubStatus)
    VANTA_SCRIPTED_OPERATION(IsAudioHubEnabled, Empty, vanta::volumemgr::AudioHubStatus)
};

}  // namespace vanta::sim
