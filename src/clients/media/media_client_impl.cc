#include "clients/media/media_client_impl.h"

#include "clients/common/unary_call.h"
#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

namespace vanta::media {

namespace {
using Stub = Media::Stub;
const std::string kServiceName = "MediaServiceClient";
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout)
    : GrpcClient(address), timeout_(timeout), logger_(logging::getLogger("MediaServiceClient")) {}

bool ClientImpl::CleanupMediaResources(MediaClientId client) {
    ClientInfo request;
    request.set_client_id(client);
    return clients::call_or_throw(stub(), &Stub::CleanupMediaResources, request,
                                  {kServiceName, "CleanupMediaResources", timeout_, logger_})
        .success();
}

AudioResource ClientImpl::AllocateToneInput(const ToneInputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::AllocateToneInput, request,
                                  {kServiceName, "AllocateToneInput", timeout_, logger_});
}

AudioResource ClientImpl::AllocateLocalAudioOutput(const AudioLocalOutputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::AllocateLocalAudioOutput, request,
                                  {kServiceName, "AllocateLocalAudioOutput", timeout_, logger_});
}

bool ClientImpl::AudioConnect(const AudioResources& resources) {
    return clients::call_or_throw(stub(), &Stub::AudioConnect, resources,
                                  {kServiceName, "AudioConnect", timeout_, logger_})
        .success();
}

bool ClientImpl::AudioDisconnect(const AudioResources& resources) {
    return clients::call_or_throw(stub(), &Stub::AudioDisconnect, resources,
                                  {kServiceName, "AudioDisconnect", timeout_, logger_})
        .success();
}

bool ClientImpl::ModifyToneInput(const ModifyToneInputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::ModifyToneInput, request,
                                  {kServiceName, "ModifyToneInput", timeout_, logger_})
        .success();
}

bool ClientImpl::PlayFile(const PlayToneRequest& request) {
    return clients::call_or_throw(stub(), &Stub::PlayTone, request,
                                  {kServiceName, "PlayTone", timeout_, logger_})
        .success();
}

bool ClientImpl::StopTone(const AudioResource& tone_input) {
    return clients::call_or_throw(stub(), &Stub::StopTone, tone_input,
                                  {kServiceName, "StopTone", timeout_, logger_})
        .success();
}

bool ClientImpl::DeAllocateToneInput(const AudioResource& tone_input) {
    return clients::call_or_throw(stub(), &Stub::DeAllocateToneInput, tone_input,
                                  {kServiceName, "DeAllocateToneInput", timeout_, logger_})
        .success();
}

bool ClientImpl::DeAllocateLocalAudioOutput(const AudioResource& output) {
    return clients::call_or_throw(stub(), &Stub::DeAllocateLocalAudioOutput, output,
                                  {kServiceName, "DeAllocateLocalAudioOutput", timeout_, logger_})
        .success();
}

std::unique_ptr<MediaServiceClient> create_media_service_client(std::chrono::milliseconds timeout) {
    return create_media_service_client(
        lookup_service_address("media_service", "unix:/tmp/media_service",
                               std::chrono::milliseconds(500)),
        timeout);
}

std::unique_ptr<MediaServiceClient> create_media_service_client(const std::string& address,
                                                                std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(address, timeout);
}

}  // namespace vanta::media
