#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "media.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::media {

// The media backend, as far as the tone player uses it: tone input and
// speaker resources, connecting them, and playing files on the tone input.
// Failed calls raise the typed errors of the client layer; operations that
// answer a `Response` return its `success`.
class MediaServiceClient : public GrpcClientBase {
  public:
    // Frees every resource held under `client`'s identity.
    virtual bool CleanupMediaResources(MediaClientId client) = 0;
    virtual AudioResource AllocateToneInput(const ToneInputRequest& request) = 0;
    virtual AudioResource AllocateLocalAudioOutput(const AudioLocalOutputRequest& request) = 0;
    virtual bool AudioConnect(const AudioResources& resources) = 0;
    virtual bool AudioDisconnect(const AudioResources& resources) = 0;
    virtual bool ModifyToneInput(const ModifyToneInputRequest& request) = 0;
    // The backend's PlayTone with a file to play.
    virtual bool PlayFile(const PlayToneRequest& request) = 0;
    virtual bool StopTone(const AudioResource& tone_input) = 0;
    virtual bool DeAllocateToneInput(const AudioResource& tone_input) = 0;
    virtual bool DeAllocateLocalAudioOutput(const AudioResource& output) = 0;
};

// The media backend at `endpoint` (the catalogue's media row: the registry's
// address for it first, else its socket).
std::unique_ptr<MediaServiceClient> create_media_service_client(const Endpoint& endpoint);

}  // namespace vanta::media
