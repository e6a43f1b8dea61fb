#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "rpc/client/grpc_client_base.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_client_channel.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::clients {

// The observer side of a backend's `Subscribe` stream, shared by the backend
// clients: one observer at a time, the backend's "stream started" event to
// the ready callback and every other event to the event callback, and, with
// the two-callback SetObserver, a new subscription on a fresh channel queued
// on the executor ("reconnect_stream") whenever the stream ends.
//
// Threading: set_observer() and remove_observer() belong to one thread at a
// time (the executor's thread, where reconnection runs too); events and the
// end of the stream arrive on the stream manager's reader thread.
//
// REQUIRES: the owning client declares it after everything the stream uses
// (it is a member, so it goes before the client's stub and channel).
template <typename Request, typename Event>
class EventSubscription {
  public:
    using EventHandler = std::function<void(const Event&)>;
    using Notification = std::function<void()>;
    using StreamManager = GrpcClientBidiStreamManager<Request, Event>;
    using Stream = typename StreamManager::Stream;

    struct Backend {
        // Prefix of the error texts: "systemcontroller".
        std::string name;
        // The client whose channel is refreshed before a reconnection.
        GrpcClientBase& client;
        std::function<std::shared_ptr<GrpcClientChannel>()> channel;
        // Opens the backend's Subscribe call on the given context.
        std::function<std::unique_ptr<Stream>(grpc::ClientContext*)> subscribe;
        // Whether an event is the backend's "stream started" announcement.
        std::function<bool(const Event&)> is_stream_started;
        // What the client writes when observation starts and when it stops.
        Request start;
        Request stop;
    };

    // Without an executor a stream that ends is not set up again.
    EventSubscription(Backend backend, Executor* executor, logging::Logger& logger)
        : backend_(std::move(backend)), executor_(executor), logger_(logger) {}
    ~EventSubscription() {
        observing_ = false;
        manager_.reset();
    }
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

    void set_observer(const EventHandler& on_event, const Notification& on_ready) {
        // The subscription the three-callback form is about to make.
        const std::uint64_t subscription = subscription_ + 1;
        set_observer(on_event, on_ready, [this, subscription, on_event, on_ready] {
            if (observing_ && subscription_ == subscription) {
                reconnect_stream(subscription, on_event, on_ready);
            }
        });
    }

    void set_observer(const EventHandler& on_event, const Notification& on_ready,
                      const Notification& on_closed) {
        if (manager_) {
            throw std::runtime_error(backend_.name +
                                     "::SetObserver : Only one observer per client at a time");
        }
        ++subscription_;
        observing_ = true;
        auto open = [this](grpc::ClientContext* context) {
            auto stream = backend_.subscribe(context);
            stream->Write(backend_.start);
            return stream;
        };
        auto deliver = [this, on_event, on_ready](const Event& event) {
            if (!on_event || !on_ready) {
                logger_.error("{}: Unable to handle event, callback is null",
                              "observed_event_handler");
                return;
            }
            if (backend_.is_stream_started(event)) {
                on_ready();
            } else {
                on_event(event);
            }
        };
        manager_ = std::make_unique<StreamManager>(backend_.channel(), open, deliver, on_closed);
    }

    void remove_observer() {
        observing_ = false;
        if (!manager_) {
            return;
        }
        manager_->write(backend_.stop);
        manager_.reset();
    }

  private:
    // Runs on the reader thread of the stream that ended.
    void reconnect_stream(std::uint64_t subscription, const EventHandler& on_event,
                          const Notification& on_ready) {
        logger_.info("reconnect_stream");
        if (!on_event || !on_ready || executor_ == nullptr) {
            logger_.info("reconnect_stream failed");
            return;
        }
        std::weak_ptr<char> alive = alive_;
        executor_->add_work(
            [this, alive, subscription, on_event, on_ready] {
                // The client may be gone, or observation removed or replaced,
                // while the work waited in the queue.
                if (alive.expired() || !observing_ || subscription_ != subscription) {
                    return;
                }
                remove_observer();
                backend_.client.refresh_channel();
                set_observer(on_event, on_ready);
            },
            0, "reconnect_stream");
    }

    Backend backend_;
    Executor* executor_;
    logging::Logger& logger_;
    std::unique_ptr<StreamManager> manager_;
    std::atomic<bool> observing_{false};
    // Identifies the current observation: a stream end or queued reconnection
    // of an earlier one is ignored.
    std::atomic<std::uint64_t> subscription_{0};
    // Expires with the client; queued reconnection work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

// The request of the backends whose SubscriptionRequest carries `unsubscribe`.
template <typename Request>
Request unsubscribe_request(bool unsubscribe) {
    Request request;
    request.set_unsubscribe(unsubscribe);
    return request;
}

}  // namespace vanta::clients
