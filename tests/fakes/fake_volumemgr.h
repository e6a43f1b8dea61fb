#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "volumemgr.grpc.pb.h"

namespace vanta::testing {

// The volume manager.
class FakeVolumeMgr final : public vanta::volumemgr::VolumeMgr::Service, public FakeBackend {
    using Empty = google::protobuf::Empty;
    using VolumeRequest = vanta::volumemgr::VolumeRequest;
    using VolumeStatus = vanta::volumemgr::VolumeStatus;
    using MuteStatus = vanta::volumemgr::MuteStatus;

  public:
    VANTA_FAKE_OPERATION(GetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(SetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(VolumeUp, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(VolumeDown, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(SetVolume, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(GetCurrentVolume, Empty, VolumeStatus)
    VANTA_FAKE_OPERATION(SetRingerVolume, VolumeRequest, VolumeStatus)
    VANTA_FAKE_OPERATION(GetRingerVolume, Empty, VolumeStatus)
    VANTA_FAKE_OPERATION(SetAudioMute, vanta::volumemgr::MuteRequest, MuteStatus)
    VANTA_FAKE_OPERATION(ToggleAudioMute, Empty, MuteStatus)
    VANTA_FAKE_OPERATION(IsAudioMute, Empty, MuteStatus)
    VANTA_FAKE_OPERATION(SetVolumeControlPath, vanta::volumemgr::AudioDeviceEvent,
                         vanta::volumemgr::SetAudioPathResponse)
    VANTA_FAKE_OPERATION(AvailableVolumeControlPath, Empty, vanta::volumemgr::AudioDeviceEventList)
    VANTA_FAKE_OPERATION(CurrentVolumeControlPath, Empty, vanta::volumemgr::AudioDeviceEvent)
    VANTA_FAKE_OPERATION(SetAudioHub, vanta::volumemgr::AudioHubRequest,
                         vanta::volumemgr::SetAudioHubStatus)
    VANTA_FAKE_OPERATION(IsAudioHubEnabled, Empty, vanta::volumemgr::AudioHubStatus)
};

}  // namespace vanta::testing
