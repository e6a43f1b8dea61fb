#pragma once

#include <mutex>
#include <vector>

#include "rpc/server/grpc_server_writer.h"

namespace vanta::testing {

// A subscriber stream as the event fan-out sees it, keeping every event sent
// to it. Attach it to a real GrpcServerPublisher with add().
template <typename T>
class CapturingWriter final : public GrpcServerWriter<T> {
  public:
    void send(const T& event) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
    }

    std::vector<T> events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<T> events_;
};

}  // namespace vanta::testing
