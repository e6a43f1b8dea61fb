#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include <grpcpp/grpcpp.h>

#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_client_channel.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::clients {

// The event stream of one backend client: at most one observer at a time, the
// requests that tell the backend when observation starts and stops, and the
// re-subscription through the executor when a stream ends while observed.
//
// Threading: start() and stop() belong to one thread at a time (the
// executor's thread, where re-subscription runs too). Events and the end of a
// stream arrive on the stream manager's reader thread.
template <typename Req, typename WireEvent>
class BackendSubscription {
  public:
    using Stream = grpc::ClientReaderWriterInterface<Req, WireEvent>;
    using OpenStream = std::function<std::unique_ptr<Stream>(grpc::ClientContext*)>;
    using Deliver = std::function<void(const WireEvent&)>;
    using Notification = std::function<void()>;

    // `owner` names the client in the refusal of a second observer
    // ("nfc::SetObserver"); `start_request` and `stop_request` are what the
    // backend reads as the start and the end of observation.
    // Without an executor a stream that ends is not set up again.
    BackendSubscription(std::string owner, Req start_request, Req stop_request, Executor* executor,
                        logging::Logger& logger)
        : owner_(std::move(owner)),
          start_request_(std::move(start_request)),
          stop_request_(std::move(stop_request)),
          executor_(executor),
          logger_(logger) {}
    // Closes the stream without telling the backend; a queued re-subscription
    // finds the subscription gone and does nothing.
    ~BackendSubscription() {
        observing_ = false;
        manager_.reset();
    }
    BackendSubscription(const BackendSubscription&) = delete;
    BackendSubscription& operator=(const BackendSubscription&) = delete;

    // Opens the stream with `open` as soon as `channel` is ready, writes the
    // start request, and hands every event to `deliver`; `on_closed` runs when
    // the stream ends. Throws std::runtime_error
    // "<owner> : Only one observer per client at a time" while a stream exists.
    void start(const std::shared_ptr<GrpcClientChannel>& channel, OpenStream open, Deliver deliver,
               Notification on_closed) {
        if (manager_) {
            throw std::runtime_error(owner_ + " : Only one observer per client at a time");
        }
        ++subscription_;
        observing_ = true;
        auto open_and_start = [open = std::move(open),
                               request = start_request_](grpc::ClientContext* context) {
            std::unique_ptr<Stream> stream = open(context);
            stream->Write(request);
            return stream;
        };
        manager_ = std::make_unique<Manager>(channel, std::move(open_and_start), std::move(deliver),
                                             std::move(on_closed));
    }

    // Writes the stop request on an open stream and closes it.
    void stop() {
        observing_ = false;
        if (!manager_) {
            return;
        }
        manager_->write(stop_request_);
        manager_.reset();
    }

    // The closed callback for the start() that follows: when that stream ends
    // while still observed, logs "reconnect_stream" and queues `resubscribe`
    // on the executor (id 0, "reconnect_stream"), or logs
    // "reconnect_stream failed" when the observer's callbacks are missing.
    Notification reconnecting(bool callbacks_set, Notification resubscribe) {
        const std::uint64_t subscription = subscription_ + 1;
        std::weak_ptr<char> alive = alive_;
        return [this, alive, subscription, callbacks_set, resubscribe = std::move(resubscribe)] {
            if (!still_current(subscription)) {
                return;
            }
            logger_.info("reconnect_stream");
            if (!callbacks_set || executor_ == nullptr) {
                logger_.error("reconnect_stream failed");
                return;
            }
            executor_->add_work(
                [this, alive, subscription, resubscribe] {
                    // The client may be gone, or observation removed or
                    // replaced, while the work waited in the queue.
                    if (alive.expired() || !still_current(subscription)) {
                        return;
                    }
                    resubscribe();
                },
                0, "reconnect_stream");
        };
    }

  private:
    using Manager = GrpcClientBidiStreamManager<Req, WireEvent>;

    bool still_current(std::uint64_t subscription) const {
        return observing_ && subscription_ == subscription;
    }

    const std::string owner_;
    const Req start_request_;
    const Req stop_request_;
    Executor* const executor_;
    logging::Logger& logger_;
    std::unique_ptr<Manager> manager_;
    std::atomic<bool> observing_{false};
    // Identifies the current observation: the end of an earlier stream, or a
    // re-subscription queued for it, is ignored.
    std::atomic<std::uint64_t> subscription_{0};
    // Expires with the subscription; queued re-subscription work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vanta::clients
