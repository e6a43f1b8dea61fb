#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <grpcpp/client_context.h>
#include <grpcpp/support/sync_stream.h>

#include "rpc/client/grpc_client_channel.h"
#include "runtime/termination_handler.h"

namespace vanta {

// One bidirectional event stream of a backend and the thread that reads it.
//
// The reader thread waits (indefinitely, until the manager is destroyed) for
// the channel to be READY, opens the stream with the allocator, delivers every
// event to `on_event` on this thread, and calls `on_stream_end` once the stream
// ends (or the wait was given up).
//
// Threading: write() may be called from any thread; requests and the
// half-close are written under the mutex that also guards the stream pointer.
// The reader thread holds that mutex only while it opens the stream, so that a
// writer is never blocked by a backend that is down. Destruction stops the
// wait within a tenth of a second, half-closes an open stream and joins the thread.
template <typename Req, typename Event>
class GrpcClientBidiStreamManager {
  public:
    using Stream = grpc::ClientReaderWriterInterface<Req, Event>;
    using StreamAllocator = std::function<std::unique_ptr<Stream>(grpc::ClientContext*)>;
    using EventCallback = std::function<void(const Event&)>;
    using EndCallback = std::function<void()>;

    // Throws std::invalid_argument if `stream_allocator` is empty.
    GrpcClientBidiStreamManager(const std::shared_ptr<GrpcClientChannel>& channel,
                                StreamAllocator stream_allocator, EventCallback on_event,
                                EndCallback on_stream_end)
        : channel_(channel),
          stream_allocator_(std::move(stream_allocator)),
          context_(std::make_unique<grpc::ClientContext>()),
          on_event_(std::move(on_event)),
          on_stream_end_(std::move(on_stream_end)) {
        if (!stream_allocator_) {
            throw std::invalid_argument("GrpcClientBidiStreamManager: stream_allocator == nullptr");
        }
        reader_ = std::thread([this] { read_events(); });
    }

    ~GrpcClientBidiStreamManager() {
        stopped_ = true;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stream_) {
                stream_->WritesDone();
            }
        }
        // A backend answers the half-close by ending the call. One that does
        // not would keep the reader (and whoever destroys us) waiting forever,
        // so the call is cancelled after a grace period; none once the daemon
        // quits, where each stream's grace would add to its exit.
        {
            const auto grace =
                terminationhandler::time_to_quit() ? std::chrono::seconds(0) : kHalfCloseGrace;
            std::unique_lock<std::mutex> lock(finished_mutex_);
            if (!finished_condition_.wait_for(lock, grace, [this] { return finished_; })) {
                context_->TryCancel();
            }
        }
        reader_.join();
    }

    GrpcClientBidiStreamManager(const GrpcClientBidiStreamManager&) = delete;
    GrpcClientBidiStreamManager& operator=(const GrpcClientBidiStreamManager&) = delete;

    // Whether the stream has been opened (it may have ended since).
    bool is_open() {
        std::lock_guard<std::mutex> lock(mutex_);
        return stream_ != nullptr;
    }

    // Writes `request` if the stream is open; false if it is not or the write
    // failed.
    bool write(const Req& request) {
        std::lock_guard<std::mutex> lock(mutex_);
        return stream_ && stream_->Write(request);
    }

  private:
    static constexpr std::chrono::seconds kHalfCloseGrace{1};

    void read_events() {
        if (open_stream()) {
            // Only this thread sets the pointer, before this point, and it
            // stays until the manager goes: reading needs no lock.
            Event event;
            while (stream_->Read(&event)) {
                if (on_event_) {
                    on_event_(event);
                }
            }
        }
        if (on_stream_end_) {
            on_stream_end_();
        }
        std::lock_guard<std::mutex> lock(finished_mutex_);
        finished_ = true;
        finished_condition_.notify_all();
    }

    bool open_stream() {
        const bool ready = channel_->wait_for_connected([this] { return stopped_.load(); });
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_ || !ready) {
            return false;
        }
        stream_ = stream_allocator_(context_.get());
        return stream_ != nullptr;
    }

    std::shared_ptr<GrpcClientChannel> channel_;
    StreamAllocator stream_allocator_;
    std::mutex mutex_;
    std::shared_ptr<Stream> stream_;
    std::unique_ptr<grpc::ClientContext> context_;
    std::atomic<bool> stopped_{false};
    std::thread reader_;
    EventCallback on_event_;
    EndCallback on_stream_end_;

    std::mutex finished_mutex_;
    std::condition_variable finished_condition_;
    bool finished_ = false;
};

}  // namespace vanta
