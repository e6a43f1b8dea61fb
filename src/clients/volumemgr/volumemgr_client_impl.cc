#include "clients/volumemgr/volumemgr_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta {

namespace {
using Stub = volumemgr::VolumeMgr::Stub;
const google::protobuf::Empty kEmpty;
}  // namespace

VolumeMgrClientImpl::VolumeMgrClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall VolumeMgrClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
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

std::unique_ptr<VolumeMgrClient> create_volumemgr_client(const Endpoint& endpoint) {
    return std::make_unique<VolumeMgrClientImpl>(endpoint, logging::getLogger("VolumeMgrClient"));
}

}  // namespace vanta
