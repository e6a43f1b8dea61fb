#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"
#include "volumemgr.pb.h"

namespace vanta {

// The volume manager: speaker, ringer and ultrasound volume, mute, the audio
// path and the audio hub.
//
// The operations that answer std::optional give nothing when the volume
// manager could not be reached or could not serve the call (the failure is
// logged as "<Op> request failed, ..."), and raise std::runtime_error for any
// other failure. AvailableVolumeControlPath and IsAudioHubEnabled raise the
// typed error of a failed call instead (GrpcException family).
class VolumeMgrClient : public GrpcClientBase {
  public:
    // Each volume operation answers the volume that the volume manager holds
    // afterwards.
    virtual std::optional<volumemgr::VolumeStatus> GetUltraSoundVolume(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> SetUltraSoundVolume(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> VolumeUp(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> VolumeDown(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> SetVolume(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> GetCurrentVolume() = 0;
    virtual std::optional<volumemgr::VolumeStatus> SetRingerVolume(
        const volumemgr::VolumeRequest& request) = 0;
    virtual std::optional<volumemgr::VolumeStatus> GetRingerVolume() = 0;

    // Each mute operation answers the mute state afterwards.
    virtual std::optional<volumemgr::MuteStatus> SetAudioMute(
        const volumemgr::MuteRequest& request) = 0;
    virtual std::optional<volumemgr::MuteStatus> ToggleAudioMute() = 0;
    virtual std::optional<volumemgr::MuteStatus> IsAudioMute() = 0;

    virtual std::optional<volumemgr::SetAudioPathResponse> SetVolumeControlPath(
        const volumemgr::AudioDeviceEvent& path) = 0;
    virtual volumemgr::AudioDeviceEventList AvailableVolumeControlPath() = 0;
    virtual std::optional<volumemgr::AudioDeviceEvent> CurrentVolumeControlPath() = 0;

    virtual std::optional<volumemgr::SetAudioHubStatus> SetAudioHub(bool enabled) = 0;
    virtual bool IsAudioHubEnabled() = 0;
};

// A client of the volume manager at `endpoint` (the catalogue's volumemgr row).
std::unique_ptr<VolumeMgrClient> create_volumemgr_client(const Endpoint& endpoint);

}  // namespace vanta
