#include "sim/volumemgr_backend.h"

#include <algorithm>

namespace vanta::sim {

namespace {

constexpr unsigned kLoudest = 100;

// A level or a step from a request, no larger than the whole scale.
int bounded(unsigned value) {
    return static_cast<int>(std::min(value, kLoudest));
}

// The size of a VolumeUp or VolumeDown step.
int step_of(const vanta::volumemgr::VolumeRequest& request) {
    switch (request.data_case()) {
        case vanta::volumemgr::VolumeRequest::kVolume:
            return bounded(request.volume());
        case vanta::volumemgr::VolumeRequest::kVolumeTicks:
            return bounded(request.volume_ticks()) * VolumeMgrBackend::kTick;
        default:
            return VolumeMgrBackend::kTick;
    }
}

// The level a Set operation asks for.
int wanted_level(const vanta::volumemgr::VolumeRequest& request) {
    return request.data_case() == vanta::volumemgr::VolumeRequest::kVolumeTicks
               ? bounded(request.volume_ticks()) * VolumeMgrBackend::kTick
               : bounded(request.volume());
}

}  // namespace

VolumeMgrBackend::VolumeMgrBackend() {
    behave("VolumeUp", &VolumeMgrBackend::volume_up);
    behave("VolumeDown", &VolumeMgrBackend::volume_down);
    behave("SetVolume", &VolumeMgrBackend::set_volume);
    behave("GetCurrentVolume", &VolumeMgrBackend::current_volume);
    behave("SetRingerVolume", &VolumeMgrBackend::set_ringer_volume);
    behave("GetRingerVolume", &VolumeMgrBackend::ringer_volume);
    behave("SetUltraSoundVolume", &VolumeMgrBackend::set_ultrasound_volume);
    behave("GetUltraSoundVolume", &VolumeMgrBackend::ultrasound_volume);
    behave("SetAudioMute", &VolumeMgrBackend::set_mute);
    behave("ToggleAudioMute", &VolumeMgrBackend::toggle_mute);
    behave("IsAudioMute", &VolumeMgrBackend::is_mute);
}

grpc::Status VolumeMgrBackend::volume_up(const VolumeRequest& request, VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    return change_locked(Level::kVolume, static_cast<int>(volume_) + step_of(request), status);
}

grpc::Status VolumeMgrBackend::volume_down(const VolumeRequest& request, VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    return change_locked(Level::kVolume, static_cast<int>(volume_) - step_of(request), status);
}

grpc::Status VolumeMgrBackend::set_volume(const VolumeRequest& request, VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    return change_locked(Level::kVolume, wanted_level(request), status);
}

grpc::Status VolumeMgrBackend::current_volume(const Empty&, VolumeStatus& status) {
    return read(Level::kVolume, status);
}

grpc::Status VolumeMgrBackend::set_ringer_volume(const VolumeRequest& request,
                                                 VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    return change_locked(Level::kRinger, wanted_level(request), status);
}

grpc::Status VolumeMgrBackend::ringer_volume(const Empty&, VolumeStatus& status) {
    return read(Level::kRinger, status);
}

grpc::Status VolumeMgrBackend::set_ultrasound_volume(const VolumeRequest& request,
                                                     VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    return change_locked(Level::kUltrasound, wanted_level(request), status);
}

grpc::Status VolumeMgrBackend::ultrasound_volume(const VolumeRequest&, VolumeStatus& status) {
    return read(Level::kUltrasound, status);
}

grpc::Status VolumeMgrBackend::set_mute(const MuteRequest& request, MuteStatus& status) {
    return mute(request.mute_state(), status);
}

grpc::Status VolumeMgrBackend::toggle_mute(const Empty&, MuteStatus& status) {
    return mute(std::nullopt, status);
}

grpc::Status VolumeMgrBackend::is_mute(const Empty&, MuteStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    status.set_is_mute(muted_);
    return grpc::Status::OK;
}

// REQUIRES: mutex_ held (announcing under it keeps announcements in order).
grpc::Status VolumeMgrBackend::change_locked(Level level, int value, VolumeStatus& status) {
    unsigned& current = level_locked(level);
    const unsigned next = static_cast<unsigned>(std::clamp(value, 0, static_cast<int>(kLoudest)));
    if (next != current) {
        current = next;
        if (level == Level::kVolume) {
            bus.announce("UiVolumeEvent", 1, std::to_string(next));
        } else if (level == Level::kRinger) {
            bus.announce("UiVolumeEvent", 2, std::to_string(next));
        }
    }
    status.set_volume(current);
    return grpc::Status::OK;
}

grpc::Status VolumeMgrBackend::read(Level level, VolumeStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    status.set_volume(level_locked(level));
    return grpc::Status::OK;
}

grpc::Status VolumeMgrBackend::mute(std::optional<bool> wanted, MuteStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool next = wanted.value_or(!muted_);
    if (next != muted_) {
        muted_ = next;
        bus.announce("UiMuteEvent", muted_ ? 1 : 2, "");
    }
    status.set_is_mute(muted_);
    return grpc::Status::OK;
}

unsigned& VolumeMgrBackend::level_locked(Level level) {
    switch (level) {
        case Level::kRinger:
            return ringer_volume_;
        case Level::kUltrasound:
            return ultrasound_volume_;
        default:
            return volume_;
    }
}

}  // namespace vanta::sim
