#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include <grpcpp/support/sync_stream.h>

#include "rpc/server/grpc_server_writer.h"

namespace vanta {

// The writer of one synchronous bidirectional server stream: events of type T
// are queued by send() on the producers' threads and written by
// process_queue() on the call's handler thread; requests of type Req are read
// by a reader thread of the stream's own until the client stops the stream.
//
// A stream closes when the stop test accepts a request, when the client ends
// its sending side or when the call ends; events queued by then are still
// written, later ones are dropped. A failed write ends the stream at once.
//
// Lifecycle: attach to the publisher, process_queue(), detach, destroy. The
// writer must be detached before it is destroyed.
template <typename T, typename Req>
class GrpcServerSyncSubscriber final : public GrpcServerWriter<T> {
  public:
    using Stream = grpc::ServerReaderWriterInterface<T, Req>;

    explicit GrpcServerSyncSubscriber(Stream* stream) : stream_(stream) {}

    ~GrpcServerSyncSubscriber() override {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        condition_.notify_all();
    }

    GrpcServerSyncSubscriber(const GrpcServerSyncSubscriber&) = delete;
    GrpcServerSyncSubscriber& operator=(const GrpcServerSyncSubscriber&) = delete;

    // Queues a copy of `event`; does nothing once the stream is closing.
    // Throws std::runtime_error if the stream closes during the call.
    void send(const T& event) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (closed_) {
                return;
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) {
            throw std::runtime_error("Unable to send message");
        }
        queue_.push_back(event);
        condition_.notify_one();
    }

    // Serves the stream until it ends, then returns. `stop_test` runs on the
    // reader thread for every request read; true closes the stream.
    // REQUIRES: `stop_test` does not throw.
    void process_queue(const std::function<bool(const Req&)>& stop_test) {
        std::thread reader([this, stop_test] { read_requests(stop_test); });
        try {
            write_events();
        } catch (...) {
            stop_reader(reader);
            throw;
        }
        stop_reader(reader);
    }

  private:
    void read_requests(const std::function<bool(const Req&)>& stop_test) {
        Req request;
        while (!finished_) {
            if (!stream_->Read(&request) || stop_test(request)) {
                break;
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        condition_.notify_all();
    }

    // Writes everything queued at each wake-up, without holding the mutex,
    // until the stream is closed and drained or a write fails. Every write
    // goes out with the default options: a synchronous write that carries
    // gRPC's buffer hint completes only when a later write flushes it, which
    // the same thread can never make, so a hinted write may wait forever.
    void write_events() {
        std::deque<T> batch;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                condition_.wait(lock, [this] { return !queue_.empty() || closed_; });
                if (queue_.empty()) {
                    return;
                }
                batch.swap(queue_);
            }
            for (; !batch.empty(); batch.pop_front()) {
                if (!stream_->Write(batch.front())) {
                    return;
                }
            }
        }
    }

    // The reader's blocking read ends when the client half-closes or the call
    // ends, which a failed write implies.
    void stop_reader(std::thread& reader) {
        finished_ = true;
        reader.join();
    }

    std::deque<T> queue_;
    std::mutex mutex_;
    std::condition_variable condition_;
    bool closed_ = false;
    Stream* stream_;
    std::atomic<bool> finished_{false};
};

}  // namespace vanta
