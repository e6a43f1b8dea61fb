#pragma once

#include <algorithm>
#include <deque>
#include <mutex>
#include <stdexcept>

#include "rpc/server/grpc_server_writer.h"

namespace vanta {

// Fans each published event out to every attached stream writer, in the order
// the writers were attached. Producers on any thread call publish(); the mutex
// orders concurrent publications, so every stream sees the same order.
//
// Lock order: the publisher's mutex is taken before a writer's own mutex
// (inside send); a writer never calls back into the publisher.
//
// Writers are not owned: the call that attaches one removes it before
// destroying it.
template <typename T>
class GrpcServerPublisher {
  public:
    GrpcServerPublisher() = default;
    GrpcServerPublisher(const GrpcServerPublisher&) = delete;
    GrpcServerPublisher& operator=(const GrpcServerPublisher&) = delete;

    void add(GrpcServerWriter<T>* writer) {
        if (writer == nullptr) {
            throw std::invalid_argument("Adding no writer to publisher");
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (std::find(writers_.begin(), writers_.end(), writer) != writers_.end()) {
            throw std::runtime_error("Adding same writer to publisher twice");
        }
        writers_.push_back(writer);
    }

    void remove(GrpcServerWriter<T>* writer) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = std::find(writers_.begin(), writers_.end(), writer);
        if (found == writers_.end()) {
            throw std::runtime_error("Removing unknown writer from publisher");
        }
        writers_.erase(found);
    }

    // Queues `event` on every attached writer. An exception from a writer's
    // send reaches the caller; the writers after it miss this event.
    void publish(const T& event) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (GrpcServerWriter<T>* writer : writers_) {
            writer->send(event);
        }
    }

  private:
    std::deque<GrpcServerWriter<T>*> writers_;
    std::mutex mutex_;
};

}  // namespace vanta
