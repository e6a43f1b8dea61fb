#pragma once

#include <mutex>
#include <optional>

#include <google/protobuf/empty.pb.h>

#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"
#include "volumemgr.grpc.pb.h"

namespace vanta::sim {

// The volume manager. It keeps the volume, the ringer and the ultrasound
// volume (0 to 100) and the microphone mute, and announces changes on the bus
// as the device's does: "UiVolumeEvent" 1 with the new volume as decimal text,
// 2 with the new ringer volume; "UiMuteEvent" 1 when muted, 2 when unmuted.
// Only a value that changed is announced. A volume step (VolumeUp, VolumeDown)
// is `volume_ticks` ticks of kTick (one tick without data) or `volume` itself.
class VolumeMgrBackend final : public vanta::volumemgr::VolumeMgr::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using VolumeRequest = vanta::volumemgr::VolumeRequest;
    using VolumeStatus = vanta::volumemgr::VolumeStatus;
    using MuteRequest = vanta::volumemgr::MuteRequest;
    using MuteStatus = vanta::volumemgr::MuteStatus;

  public:
    static constexpr int kTick = 5;

    VolumeMgrBackend();

    // Where the announcements go (unconnected: nowhere).
    BusAnnouncer bus{"volumemgr"};

    VANTA_SCRIPTED_OPERATION(GetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetUltraSoundVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(VolumeUp, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(VolumeDown, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(GetCurrentVolume, Empty, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetRingerVolume, VolumeRequest, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(GetRingerVolume, Empty, VolumeStatus)
    VANTA_SCRIPTED_OPERATION(SetAudioMute, MuteRequest, MuteStatus)
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

  private:
    enum class Level { kVolume, kRinger, kUltrasound };

    grpc::Status volume_up(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status volume_down(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status set_volume(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status current_volume(const Empty& request, VolumeStatus& status);
    grpc::Status set_ringer_volume(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status ringer_volume(const Empty& request, VolumeStatus& status);
    grpc::Status set_ultrasound_volume(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status ultrasound_volume(const VolumeRequest& request, VolumeStatus& status);
    grpc::Status set_mute(const MuteRequest& request, MuteStatus& status);
    grpc::Status toggle_mute(const Empty& request, MuteStatus& status);
    grpc::Status is_mute(const Empty& request, MuteStatus& status);

    // Sets `level` to `value` (at most 100), announces a change and answers
    // the level now.
    grpc::Status change_locked(Level level, int value, VolumeStatus& status);
    grpc::Status read(Level level, VolumeStatus& status);
    // Mutes as `wanted` says (the opposite of now without it), announces a
    // change and answers the mute now.
    grpc::Status mute(std::optional<bool> wanted, MuteStatus& status);
    unsigned& level_locked(Level level);

    std::mutex mutex_;
    unsigned volume_ = 50;
    unsigned ringer_volume_ = 70;
    unsigned ultrasound_volume_ = 40;
    bool muted_ = false;
};

}  // namespace vanta::sim
