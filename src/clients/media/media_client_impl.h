#pragma once

#include <chrono>
#include <string>

#include "clients/media/media_client.h"
#include "media.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::media {

class ClientImpl final : public GrpcClient<Media, MediaServiceClient> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    bool CleanupMediaResources(MediaClientId client) override;
    AudioResource AllocateToneInput(const ToneInputRequest& request) override;
    AudioResource AllocateLocalAudioOutput(const AudioLocalOutputRequest& request) override;
    bool AudioConnect(const AudioResources& resources) override;
    bool AudioDisconnect(const AudioResources& resources) override;
    bool ModifyToneInput(const ModifyToneInputRequest& request) override;
    bool PlayFile(const PlayToneRequest& request) override;
    bool StopTone(const AudioResource& tone_input) override;
    bool DeAllocateToneInput(const AudioResource& tone_input) override;
    bool DeAllocateLocalAudioOutput(const AudioResource& output) override;

  private:
    // The deadline of a call made now: the row's, or less once the daemon
    // quits.
    std::chrono::milliseconds timeout() const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::media
