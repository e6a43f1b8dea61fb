#pragma once

#include <chrono>
#include <functional>
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
// owner scripted for it, or the failure it was told to give; otherwise what
// the backend's own state says (an empty message for an operation without
// behaviour). Every call is written down with its request (the last thousand
// are kept).
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

    // Whether the backend has a behaviour of its own for `operation`.
    bool behaves(const std::string& operation) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return behaviours_.count(operation) > 0;
    }

  protected:
    // `operation` runs `behaviour` (a member of the backend) when neither a
    // reply nor a failure is scripted. It runs on gRPC's thread without this
    // class's lock held.
    template <typename Backend, typename Request, typename Response>
    void behave(const std::string& operation,
                grpc::Status (Backend::*behaviour)(const Request&, Response&)) {
        Backend* self = static_cast<Backend*>(this);
        std::lock_guard<std::mutex> lock(mutex_);
        behaviours_[operation] = [self, behaviour](const google::protobuf::Message& request,
                                                   google::protobuf::Message& response) {
            return (self->*behaviour)(static_cast<const Request&>(request),
                                      static_cast<Response&>(response));
        };
    }

    grpc::Status answer(const grpc::ServerContext& context, const std::string& operation,
                        const google::protobuf::Message& request,
                        google::protobuf::Message* response) {
        return answer(context, operation, request, response,
                      [&] { return run_behaviour(operation, request, *response); });
    }
    // As above, but an operation nobody scripted answers what `behave` makes
    // of it (the backend's own state): a scripted reply or failure overrides
    // the behaviour, which then does not run.
    template <typename Behave>
    grpc::Status answer(const grpc::ServerContext& context, const std::string& operation,
                        const google::protobuf::Message& request,
                        google::protobuf::Message* response, Behave&& behave) {
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
        std::unique_lock<std::mutex> lock(mutex_);
        if (!failure_.ok()) {
            return failure_;
        }
        const auto scripted = replies_.find(operation);
        if (scripted != replies_.end()) {
            response->ParseFromString(scripted->second);
            return grpc::Status::OK;
        }
        lock.unlock();
        return behave();
    }

  private:
    using Behaviour =
        std::function<grpc::Status(const google::protobuf::Message&, google::protobuf::Message&)>;

    // The behaviour registered for `operation` (OK with the response untouched
    // without one).
    grpc::Status run_behaviour(const std::string& operation,
                               const google::protobuf::Message& request,
                               google::protobuf::Message& response) {
        Behaviour behaviour;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = behaviours_.find(operation);
            if (found == behaviours_.end()) {
                return grpc::Status::OK;
            }
            behaviour = found->second;
        }
        return behaviour(request, response);
    }

    mutable std::mutex mutex_;
    std::map<std::string, std::string> replies_;
    std::map<std::string, std::string> requests_;
    std::map<std::string, Behaviour> behaviours_;
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
