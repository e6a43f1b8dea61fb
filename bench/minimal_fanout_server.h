#pragma once

// The floor for event fan-out: a gRPC sync server whose Subscribe handlers
// each drain a queue of their own (unbounded), fed straight from publish():
// everything queued at a wake-up is written, one write each, as the daemon's
// writers do. No bus, no translation, no
// executor, no reader thread.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>

#include <grpcpp/grpcpp.h>

#include "vantaapi.grpc.pb.h"

namespace vanta::bench {

class MinimalFanoutServer final : public vantaapi::VantaApi::Service {
  public:
    explicit MinimalFanoutServer(const std::string& address) {
        grpc::ServerBuilder builder;
        builder.AddListeningPort(address, grpc::InsecureServerCredentials());
        builder.RegisterService(this);
        server_ = builder.BuildAndStart();
        if (!server_) {
            throw std::runtime_error("cannot listen on " + address);
        }
    }
    ~MinimalFanoutServer() override {
        server_->Shutdown(std::chrono::system_clock::now() + std::chrono::seconds(1));
    }
    MinimalFanoutServer(const MinimalFanoutServer&) = delete;
    MinimalFanoutServer& operator=(const MinimalFanoutServer&) = delete;

    void publish(const vantaapi::VantaEvent& event) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (Queue* queue : queues_) {
            std::lock_guard<std::mutex> queue_lock(queue->mutex);
            queue->events.push_back(event);
            queue->added.notify_one();
        }
    }

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream)
        override {
        Queue queue;
        vantaapi::VantaEvent started;
        started.mutable_subscription_status()->set_status(
            vantaapi::VantaApiSubscriptionStatus::STREAM_STARTED);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queues_.insert(&queue);
        }
        bool open = stream->Write(started);
        std::deque<vantaapi::VantaEvent> batch;
        while (open && !context->IsCancelled()) {
            {
                std::unique_lock<std::mutex> lock(queue.mutex);
                if (!queue.added.wait_for(lock, std::chrono::milliseconds(50),
                                          [&] { return !queue.events.empty(); })) {
                    continue;
                }
                batch.swap(queue.events);
            }
            for (; open && !batch.empty(); batch.pop_front()) {
                open = stream->Write(batch.front());
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        queues_.erase(&queue);
        return grpc::Status::OK;
    }

  private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable added;
        std::deque<vantaapi::VantaEvent> events;
    };

    std::mutex mutex_;
    std::set<Queue*> queues_;
    std::unique_ptr<grpc::Server> server_;
};

}  // namespace vanta::bench
