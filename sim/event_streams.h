#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include <grpcpp/grpcpp.h>
#include <grpcpp/support/sync_stream.h>

#include "sim/bounded_history.h"

namespace vanta::sim {

// The Subscribe side of a simulated backend: a bidirectional stream shaped like the
// device's backends (the client sends SubscriptionRequests with an
// `unsubscribe` flag, the backend sends events).
//
// serve() runs one stream until the client leaves or close_streams() ends it,
// writing what publish() queues. What the client sent on each stream is
// written down: "unsubscribe=true", "unsubscribe=false" (or "subscribe=true",
// "subscribe=false" for backends whose requests carry `subscribe`), then
// "half-close" (the client closed its side) or "cancelled" (the call was
// cancelled, for example by a server shutdown).
//
// Threading: serve() runs on gRPC's thread with a reader thread of its own;
// everything else may be called from any thread.
namespace detail {

template <typename Request, typename = void>
struct CarriesUnsubscribe : std::false_type {};
template <typename Request>
struct CarriesUnsubscribe<Request, std::void_t<decltype(std::declval<Request>().unsubscribe())>>
    : std::true_type {};

template <typename Request>
std::string describe_subscription_request(const Request& request) {
    if constexpr (CarriesUnsubscribe<Request>::value) {
        return request.unsubscribe() ? "unsubscribe=true" : "unsubscribe=false";
    } else {
        return request.subscribe() ? "subscribe=true" : "subscribe=false";
    }
}

}  // namespace detail

template <typename Event, typename Request>
class EventStreams {
  public:
    grpc::Status serve(grpc::ServerContext* context,
                       grpc::ServerReaderWriter<Event, Request>* stream) {
        auto open = std::make_shared<OpenStream>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            streams_.push_back(open);
            ++opened_;
            changed_.notify_all();
        }
        std::thread reader([this, context, stream, open] {
            Request request;
            while (stream->Read(&request)) {
                note(detail::describe_subscription_request(request));
            }
            const bool cancelled = context->IsCancelled();
            std::lock_guard<std::mutex> lock(mutex_);
            journal_.add(cancelled ? "cancelled" : "half-close");
            open->reader_done = true;
            changed_.notify_all();
        });
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait_for(lock, std::chrono::milliseconds(20), [&] {
                return !open->pending.empty() || open->reader_done || open->close;
            });
            while (!open->pending.empty()) {
                const Event event = open->pending.front();
                open->pending.pop_front();
                lock.unlock();
                stream->Write(event);
                lock.lock();
            }
            if (open->reader_done || open->close || context->IsCancelled()) {
                break;
            }
        }
        const bool reader_done = open->reader_done;
        streams_.erase(std::find(streams_.begin(), streams_.end(), open));
        changed_.notify_all();
        lock.unlock();
        if (!reader_done) {
            // The backend ends the call while the client still reads and writes.
            context->TryCancel();
        }
        reader.join();
        return grpc::Status::OK;
    }

    // Sends `event` on every open stream.
    void publish(const Event& event) {
        publish([&](int /*sequence*/) { return event; });
    }
    // Sends on every open stream the event `make` builds from the stream's
    // own count of events (1 for its first).
    void publish(const std::function<Event(int sequence)>& make) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            open->pending.push_back(make(++open->sequence));
        }
        changed_.notify_all();
    }
    // Ends every open stream from the backend's side.
    void close_streams() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            open->close = true;
        }
        changed_.notify_all();
    }

    int opened() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return opened_;
    }
    size_t open_streams() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return streams_.size();
    }
    std::vector<std::string> journal() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return journal_.entries();
    }
    // Bounded waits for what the backend has seen.
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return opened_ >= count; });
    }
    bool wait_for_open_streams(size_t count,
                               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return streams_.size() == count; });
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return journal_.total() >= entries; });
    }

  private:
    struct OpenStream {
        std::deque<Event> pending;
        int sequence = 0;
        bool reader_done = false;
        bool close = false;
    };

    void note(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        journal_.add(entry);
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::shared_ptr<OpenStream>> streams_;
    int opened_ = 0;
    BoundedHistory<std::string> journal_;
};

}  // namespace vanta::sim

// Serves a simulated backend's Subscribe through a public EventStreams member
// named `streams`.
#define VANTA_SIM_EVENT_STREAM(Event, Request)                                          \
  public:                                                                               \
    grpc::Status Subscribe(grpc::ServerContext* context,                                \
                           grpc::ServerReaderWriter<Event, Request>* stream) override { \
        return streams.serve(context, stream);                                          \
    }                                                                                   \
    ::vanta::sim::EventStreams<Event, Request> streams;
