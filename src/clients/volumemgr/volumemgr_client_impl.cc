#include "clients/volumemgr/volumemgr_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
// The volume manager has no name of its own; errors carry this one.
const std::string kServiceName = "VolumeManager";
using Stub = volumemgr::VolumeMgr::Stub;
const google::protobuf::Empty kEmpty;
}  // namespace

VolumeMgrClientImpl::VolumeMgrClientImpl(const std::string& address,
                                         std::chrono::milliseconds timeout, logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall VolumeMgrClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::GetUltraSoundVolume(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::GetUltraSoundVolume, request,
                                  call("GetUltraSoundVolume"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::SetUltraSoundVolume(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::SetUltraSoundVolume, request,
                                  call("SetUltraSoundVolume"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::VolumeUp(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::VolumeUp, request, call("VolumeUp"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::VolumeDown(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::VolumeDown, request, call("VolumeDown"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::SetVolume(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::SetVolume, request, call("SetVolume"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::GetCurrentVolume() {
    return clients::call_or_empty(stub(), &Stub::GetCurrentVolume, kEmpty,
                                  call("GetCurrentVolume"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::SetRingerVolume(
    const volumemgr::VolumeRequest& request) {
    return clients::call_or_empty(stub(), &Stub::SetRingerVolume, request, call("SetRingerVolume"));
}

std::optional<volumemgr::VolumeStatus> VolumeMgrClientImpl::GetRingerVolume() {
    return clients::call_or_empty(stub(), &Stub::GetRingerVolume, kEmpty, call("GetRingerVolume"));
}

std::optional<volumemgr::MuteStatus> VolumeMgrClientImpl::SetAudioMute(
    const volumemgr::MuteRequest& request) {
    return clients::call_or_empty(stub(), &Stub::SetAudioMute, request, call("SetAudioMute"));
}

std::optional<volumemgr::MuteStatus> VolumeMgrClientImpl::ToggleAudioMute() {
    return clients::call_or_empty(stub(), &Stub::ToggleAudioMute, kEmpty, call("ToggleAudioMute"));
}

std::optional<volumemgr::MuteStatus> VolumeMgrClientImpl::IsAudioMute() {
    return clients::call_or_empty(stub(), &Stub::IsAudioMute, kEmpty, call("IsAudioMute"));
}

std::optional<volumemgr::SetAudioPathResponse> VolumeMgrClientImpl::SetVolumeControlPath(
    const volumemgr::AudioDeviceEvent& path) {
    return clients::call_or_empty(stub(), &Stub::SetVolumeControlPath, path,
                                  call("SetVolumeControlPath"));
}

volumemgr::AudioDeviceEventList VolumeMgrClientImpl::AvailableVolumeControlPath() {
    return clients::call_or_throw(stub(), &Stub::AvailableVolumeControlPath, kEmpty,
                                  call("AvailableVolumeControlPath"));
}

std::optional<volumemgr::AudioDeviceEvent> VolumeMgrClientImpl::CurrentVolumeControlPath() {
    return clients::call_or_empty(stub(), &Stub::CurrentVolumeControlPath, kEmpty,
                                  call("CurrentVolumeControlPath"));
}

std::optional<volumemgr::SetAudioHubStatus> VolumeMgrClientImpl::SetAudioHub(bool enabled) {
    volumemgr::AudioHubRequest request;
    request.set_audio_hub_state(enabled);
    return clients::call_or_empty(stub(), &Stub::SetAudioHub, request, call("SetAudioHub"));
}

bool VolumeMgrClientImpl::IsAudioHubEnabled() {
    return clients::call_or_throw(stub(), &Stub::IsAudioHubEnabled, kEmpty,
                                  call("IsAudioHubEnabled"))
        .is_enabled();
}

std::unique_ptr<VolumeMgrClient> create_volumemgr_client(const std::string& address,
                                                         std::chrono::milliseconds timeout) {
    return std::make_unique<VolumeMgrClientImpl>(address, timeout,
                                                 logging::getLogger("VolumeMgrClient"));
}

}  // namespace vanta
