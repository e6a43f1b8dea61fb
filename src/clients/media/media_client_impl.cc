#include "clients/media/media_client_impl.h"

#include <algorithm>

#include "clients/common/unary_call.h"
#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"
#include "runtime/termination_handler.h"

namespace vanta::media {

namespace {
using Stub = Media::Stub;
// Once the daemon quits, the tone player releases its resources on the way
// out: a media backend that does not answer must not hold the exit up.
constexpr std::chrono::milliseconds kQuittingTimeout{100};
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("MediaServiceClient")) {}

std::chrono::milliseconds ClientImpl::timeout() const {
    return terminationhandler::time_to_quit() ? std::min(timeout_, kQuittingTimeout) : timeout_;
}

bool ClientImpl::CleanupMediaResources(MediaClientId client) {
    ClientInfo request;
    request.set_client_id(client);
    return clients::call_or_throw(stub(), &Stub::CleanupMediaResources, request,
                                  {service_name_, "CleanupMediaResources", timeout(), logger_})
        .success();
}

AudioResource ClientImpl::AllocateToneInput(const ToneInputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::AllocateToneInput, request,
                                  {service_name_, "AllocateToneInput", timeout(), logger_});
}

AudioResource ClientImpl::AllocateLocalAudioOutput(const AudioLocalOutputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::AllocateLocalAudioOutput, request,
                                  {service_name_, "AllocateLocalAudioOutput", timeout(), logger_});
}

bool ClientImpl::AudioConnect(const AudioResources& resources) {
    return clients::call_or_throw(stub(), &Stub::AudioConnect, resources,
                                  {service_name_, "AudioConnect", timeout(), logger_})
        .success();
}

bool ClientImpl::AudioDisconnect(const AudioResources& resources) {
    return clients::call_or_throw(stub(), &Stub::AudioDisconnect, resources,
                                  {service_name_, "AudioDisconnect", timeout(), logger_})
        .success();
}

bool ClientImpl::ModifyToneInput(const ModifyToneInputRequest& request) {
    return clients::call_or_throw(stub(), &Stub::ModifyToneInput, request,
                                  {service_name_, "ModifyToneInput", timeout(), logger_})
        .success();
}

bool ClientImpl::PlayFile(const PlayToneRequest& request) {
    return clients::call_or_throw(stub(), &Stub::PlayTone, request,
                                  {service_name_, "PlayTone", timeout(), logger_})
        .success();
}

bool ClientImpl::StopTone(const AudioResource& tone_input) {
    return clients::call_or_throw(stub(), &Stub::StopTone, tone_input,
                                  {service_name_, "StopTone", timeout(), logger_})
        .success();
}

bool ClientImpl::DeAllocateToneInput(const AudioResource& tone_input) {
    return clients::call_or_throw(stub(), &Stub::DeAllocateToneInput, tone_input,
                                  {service_name_, "DeAllocateToneInput", timeout(), logger_})
        .success();
}

bool ClientImpl::DeAllocateLocalAudioOutput(const AudioResource& output) {
    return clients::call_or_throw(stub(), &Stub::DeAllocateLocalAudioOutput, output,
                                  {service_name_, "DeAllocateLocalAudioOutput", timeout(), logger_})
        .success();
}

std::unique_ptr<MediaServiceClient> create_media_service_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta::media
