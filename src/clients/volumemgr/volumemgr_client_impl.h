#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/volumemgr/volumemgr_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"
#include "volumemgr.grpc.pb.h"

namespace vanta {

class VolumeMgrClientImpl final : public GrpcClient<volumemgr::VolumeMgr, VolumeMgrClient> {
  public:
    VolumeMgrClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    std::optional<volumemgr::VolumeStatus> GetUltraSoundVolume(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> SetUltraSoundVolume(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> VolumeUp(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> VolumeDown(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> SetVolume(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> GetCurrentVolume() override;
    std::optional<volumemgr::VolumeStatus> SetRingerVolume(
        const volumemgr::VolumeRequest& request) override;
    std::optional<volumemgr::VolumeStatus> GetRingerVolume() override;
    std::optional<volumemgr::MuteStatus> SetAudioMute(
        const volumemgr::MuteRequest& request) override;
    std::optional<volumemgr::MuteStatus> ToggleAudioMute() override;
    std::optional<volumemgr::MuteStatus> IsAudioMute() override;
    std::optional<volumemgr::SetAudioPathResponse> SetVolumeControlPath(
        const volumemgr::AudioDeviceEvent& path) override;
    volumemgr::AudioDeviceEventList AvailableVolumeControlPath() override;
    std::optional<volumemgr::AudioDeviceEvent> CurrentVolumeControlPath() override;
    std::optional<volumemgr::SetAudioHubStatus> SetAudioHub(bool enabled) override;
    bool IsAudioHubEnabled() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
