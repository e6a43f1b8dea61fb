#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "media.grpc.pb.h"
#include "sim/bounded_history.h"

namespace vanta::sim {

// The media backend, as far as the tone player uses it: records the name of
// every call (and the tone requests), hands out resource ids, keeps which
// tones are sounding, and fails a named operation on request.
class MediaBackend final : public vanta::media::Media::Service {
  public:
    using Response = vanta::media::Response;
    using AudioResource = vanta::media::AudioResource;

    grpc::Status CleanupMediaResources(grpc::ServerContext*,
                                       const vanta::media::ClientInfo* request,
                                       Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        cleaned_up_.add(request->client_id());
        return answer("CleanupMediaResources", response);
    }
    grpc::Status AllocateToneInput(grpc::ServerContext*,
                                   const vanta::media::ToneInputRequest* request,
                                   AudioResource* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tone_inputs_.add(*request);
        return allocate("AllocateToneInput", response);
    }
    grpc::Status AllocateLocalAudioOutput(grpc::ServerContext*,
                                          const vanta::media::AudioLocalOutputRequest* request,
                                          AudioResource* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        outputs_.add(*request);
        return allocate("AllocateLocalAudioOutput", response);
    }
    grpc::Status AudioConnect(grpc::ServerContext*, const vanta::media::AudioResources*,
                              Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return answer("AudioConnect", response);
    }
    grpc::Status AudioDisconnect(grpc::ServerContext*, const vanta::media::AudioResources*,
                                 Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return answer("AudioDisconnect", response);
    }
    grpc::Status ModifyToneInput(grpc::ServerContext*,
                                 const vanta::media::ModifyToneInputRequest* request,
                                 Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        volumes_.add(request->volume());
        return answer("ModifyToneInput", response);
    }
    grpc::Status PlayTone(grpc::ServerContext*, const vanta::media::PlayToneRequest* request,
                          Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        plays_.add(*request);
        const grpc::Status status = answer("PlayTone", response);
        if (status.ok()) {
            playing_[request->id().id()] = *request;
        }
        return status;
    }
    grpc::Status StopTone(grpc::ServerContext*, const AudioResource* request,
                          Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const grpc::Status status = answer("StopTone", response);
        if (status.ok()) {
            playing_.erase(request->id());
        }
        return status;
    }
    grpc::Status DeAllocateToneInput(grpc::ServerContext*, const AudioResource* request,
                                     Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const grpc::Status status = answer("DeAllocateToneInput", response);
        if (status.ok()) {
            playing_.erase(request->id());
        }
        return status;
    }
    grpc::Status DeAllocateLocalAudioOutput(grpc::ServerContext*, const AudioResource*,
                                            Response* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return answer("DeAllocateLocalAudioOutput", response);
    }

    // `operation` answers `status` from now on (OK again with grpc::Status::OK).
    void fail(const std::string& operation, grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        failures_[operation] = std::move(status);
    }
    std::vector<std::string> calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_.entries();
    }
    void clear_calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.clear();
    }
    std::vector<vanta::media::MediaClientId> cleaned_up() {
        std::lock_guard<std::mutex> lock(mutex_);
        return cleaned_up_.entries();
    }
    std::vector<vanta::media::ToneInputRequest> tone_inputs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return tone_inputs_.entries();
    }
    std::vector<vanta::media::AudioLocalOutputRequest> outputs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return outputs_.entries();
    }
    std::vector<unsigned> volumes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return volumes_.entries();
    }
    std::vector<vanta::media::PlayToneRequest> plays() {
        std::lock_guard<std::mutex> lock(mutex_);
        return plays_.entries();
    }
    // The tones sounding now (played, neither stopped nor deallocated), by
    // resource id.
    std::vector<vanta::media::PlayToneRequest> playing() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<vanta::media::PlayToneRequest> tones;
        for (const auto& [id, tone] : playing_) {
            tones.push_back(tone);
        }
        return tones;
    }

  private:
    // REQUIRES: mutex_ held.
    grpc::Status answer(const std::string& operation, Response* response) {
        calls_.add(operation);
        const auto failure = failures_.find(operation);
        if (failure != failures_.end() && !failure->second.ok()) {
            return failure->second;
        }
        response->set_success(true);
        return grpc::Status::OK;
    }
    grpc::Status allocate(const std::string& operation, AudioResource* response) {
        calls_.add(operation);
        const auto failure = failures_.find(operation);
        if (failure != failures_.end() && !failure->second.ok()) {
            return failure->second;
        }
        response->set_id(++last_id_);
        response->set_valid_id(true);
        return grpc::Status::OK;
    }

    std::mutex mutex_;
    std::map<std::string, grpc::Status> failures_;
    BoundedHistory<std::string> calls_;
    BoundedHistory<vanta::media::MediaClientId> cleaned_up_;
    BoundedHistory<vanta::media::ToneInputRequest> tone_inputs_;
    BoundedHistory<vanta::media::AudioLocalOutputRequest> outputs_;
    BoundedHistory<unsigned> volumes_;
    BoundedHistory<vanta::media::PlayToneRequest> plays_;
    std::map<uint32_t, vanta::media::PlayToneRequest> playing_;
    unsigned last_id_ = 0;
};

}  // namespace vanta::sim
