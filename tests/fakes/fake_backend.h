#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/message.h>
#include <grpcpp/grpcpp.h>

namespace vanta::testing {

// What a fake backend was asked and how it answers: the part that every fake
// of the simple request/reply backends shares. A fake derives from its
// generated service and from this, and answers each operation with
// answer() (VANTA_FAKE_OPERATION writes the override).
class FakeBackend {
  public:
    // From now on `operation` answers a copy of `reply` (a default reply
    // until then).
    void set_reply(const std::string& operation, const google::protobuf::Message& reply) {
        std::unique_ptr<google::protobuf::Message> copy(reply.New());
        copy->CopyFrom(reply);
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[operation] = std::move(copy);
    }
    // Every later call answers `status` instead (OK: the replies again).
    void fail_with(grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        status_ = std::move(status);
    }
    // Every later call waits this long before answering.
    void delay_by(std::chrono::milliseconds delay) {
        std::lock_guard<std::mutex> lock(mutex_);
        delay_ = delay;
    }
    // One entry per call, in order: "<operation>(<request in text format>)".
    std::vector<std::string> calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

  protected:
    grpc::Status answer(const std::string& operation, const google::protobuf::Message& request,
                        google::protobuf::Message* reply) {
        std::unique_lock<std::mutex> lock(mutex_);
        calls_.push_back(operation + "(" + request.ShortDebugString() + ")");
        const grpc::Status status = status_;
        const std::chrono::milliseconds delay = delay_;
        const auto configured = replies_.find(operation);
        if (status.ok() && configured != replies_.end()) {
            reply->CopyFrom(*configured->second);
        }
        lock.unlock();
        std::this_thread::sleep_for(delay);
        return status;
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::unique_ptr<google::protobuf::Message>> replies_;
    grpc::Status status_;
    std::chrono::milliseconds delay_{0};
    std::vector<std::string> calls_;
};

}  // namespace vanta::testing

// The override of one unary operation of a fake backend.
#define VANTA_FAKE_OPERATION(Operation, Request, Reply)                                            \
    grpc::Status Operation(grpc::ServerContext* /*context*/, const Request* request, Reply* reply) \
        override {                                                                                 \
        return answer(#Operation, *request, reply);                                                \
    }
