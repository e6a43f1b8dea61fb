#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/message.h>
#include <grpcpp/grpcpp.h>

#include "sim/bounded_history.h"

namespace vanta::sim {

// What the simulated backends share: each operation answers the reply its
// owner scripted for it (an empty message when none), or the failure it was
// told to give; every call is written down with its request (the last
// thousand are kept).
//
// Threading: the backend's operations run on gRPC's threads; everything here is
// guarded by one mutex.
class ScriptedBackend {
  public:
    // `operation` answers `reply` from now on.
    void reply(const std::string& operation, const google::protobuf::Message& reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[operation] = reply.SerializeAsString();
    }
    // Every operation answers `code` with `message` from now on (OK: the
    // scripted replies again).
    void fail_with(grpc::StatusCode code, std::string message = "backend says no") {
        std::lock_guard<std::mutex> lock(mutex_);
        failure_ = grpc::Status(code, std::move(message));
    }
    void fail_with(grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        failure_ = std::move(status);
    }
    // Every operation waits this long before it answers.
    void delay_answers(std::chrono::milliseconds delay) {
        std::lock_guard<std::mutex> lock(mutex_);
        delay_ = delay;
    }

    // The operations called so far, in order.
    std::vector<std::string> calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_.entries();
    }
    // The calls so far with their requests, in order:
    // "<operation>(<request in text format>)".
    std::vector<std::string> calls_with_requests() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_with_requests_.entries();
    }
    // The request of the last call of `operation` (a default one if none).
    template <typename Request>
    Request last_request(const std::string& operation) const {
        std::lock_guard<std::mutex> lock(mutex_);
        Request request;
        const auto found = requests_.find(operation);
        if (found != requests_.end()) {
            request.ParseFromString(found->second);
        }
        return request;
    }

    // The "caller" metadata of the last call (empty without one).
    std::string last_caller() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return last_caller_;
    }

  protected:
    grpc::Status answer(const grpc::ServerContext& context, const std::string& operation,
                        const google::protobuf::Message& request,
                        google::protobuf::Message* response) {
        std::chrono::milliseconds delay;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.add(operation);
            calls_with_requests_.add(operation + "(" + request.ShortDebugString() + ")");
            const auto caller = context.client_metadata().find("caller");
            last_caller_ = caller == context.client_metadata().end()
                               ? std::string()
                               : std::string(caller->second.data(), caller->second.size());
            requests_[operation] = request.SerializeAsString();
            delay = delay_;
        }
        std::this_thread::sleep_for(delay);
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_.ok()) {
            return failure_;
        }
        const auto scripted = replies_.find(operation);
        if (scripted != replies_.end()) {
            response->ParseFromString(scripted->second);
        }
        return grpc::Status::OK;
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> replies_;
    std::map<std::string, std::string> requests_;
    BoundedHistory<std::string> calls_;
    BoundedHistory<std::string> calls_with_requests_;
    std::string last_caller_;
    grpc::Status failure_ = grpc::Status::OK;
    std::chrono::milliseconds delay_{0};
};

// One line per simulated operation: answers the scripted reply of `Op`.
#define VANTA_SCRIPTED_OPERATION(Op, Request, Response)                                       \
    grpc::Status Op(grpc::ServerContext* context, const Request* request, Response* response) \
        override {                                                                            \
        return answer(*context, #Op, *request, response);                                     \
    }

}  // namespace vanta::sim
