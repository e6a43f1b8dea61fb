#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

// Where the daemon serves the API.
inline const std::string kApiAddress = "unix:/tmp/vantaapi_service";

// One open Subscribe stream; a reader thread collects what arrives.
class EventStream {
  public:
    explicit EventStream(vantaapi::VantaApi::Stub& stub) : stream_(stub.Subscribe(&context_)) {
        reader_ = std::thread([this] {
            vantaapi::VantaEvent event;
            while (stream_->Read(&event)) {
                std::lock_guard<std::mutex> lock(mutex_);
                events_.push_back(event);
                changed_.notify_all();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            ended_ = true;
            changed_.notify_all();
        });
    }
    ~EventStream() {
        context_.TryCancel();
        reader_.join();
    }
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;

    // Waits (bounded) until `count` events have arrived; returns them all.
    std::vector<vantaapi::VantaEvent> wait_for(
        size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, limit, [&] { return events_.size() >= count || ended_; });
        return {events_.begin(), events_.end()};
    }

  private:
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<vantaapi::SubscriptionRequest, vantaapi::VantaEvent>>
        stream_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<vantaapi::VantaEvent> events_;
    bool ended_ = false;
    std::thread reader_;
};

}  // namespace vanta::testing
