#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta {

// What a backend reads on its Subscribe stream as the start and as the end of
// an observation.
template <typename Req>
struct SubscriptionWords {
    Req start;
    Req stop;
};

// The words of the backends whose request carries `unsubscribe`.
template <typename Req>
SubscriptionWords<Req> unsubscribe_words() {
    SubscriptionWords<Req> words;
    words.start.set_unsubscribe(false);
    words.stop.set_unsubscribe(true);
    return words;
}

// The words of the backends whose request carries `subscribe` instead.
template <typename Req>
SubscriptionWords<Req> subscribe_words() {
    SubscriptionWords<Req> words;
    words.start.set_subscribe(true);
    words.stop.set_subscribe(false);
    return words;
}

// A GrpcClient whose backend streams `WireEvent`s over its `Subscribe` call;
// observers receive them through observed_event_handler(), which each backend
// client implements. Every observable backend client is one of these.
//
// One observer at a time. When observation starts, the stream is opened as
// soon as the channel is ready and the start word is written; RemoveObserver
// writes the stop word and half-closes (the stream manager cancels the call
// if the backend does not end it within a second). With the two-callback
// SetObserver, a stream that ends while observed is set up again on a new
// channel by one work item ("reconnect_stream", id 0) on the executor.
// Every observation has its own number: the end of an earlier stream, or a
// reconnection queued for it, is ignored once another observation (or none)
// is current.
//
// Threading: SetObserver and RemoveObserver belong to one thread at a time,
// the executor's (reconnection runs there too). Events and the end of a
// stream arrive on the stream manager's reader thread.
//
// REQUIRES: the concrete client calls close_stream() in its destructor: the
// reader thread calls observed_event_handler() until the stream is closed.
template <typename Service, typename Interface, typename Req, typename WireEvent, typename Event,
          typename Handler = std::function<void(const Event&)>>
class GrpcObservableClient : public GrpcClient<Service, Interface>,
                             public virtual GrpcObservableClientBase<Event, Handler> {
  public:
    using EventHandler = Handler;
    using Notification = std::function<void()>;
    using StreamManager = GrpcClientBidiStreamManager<Req, WireEvent>;

    // `observer_name` opens the refusal of a second observer
    // ("nfc::SetObserver : Only one observer per client at a time").
    // Without an executor a stream that ends is not set up again.
    GrpcObservableClient(const std::string& address, Executor* executor, logging::Logger& logger,
                         std::string observer_name, SubscriptionWords<Req> words)
        : GrpcClient<Service, Interface>(address),
          executor_(executor),
          logger_(logger),
          observer_name_(std::move(observer_name)),
          words_(std::move(words)) {}
    ~GrpcObservableClient() override { close_stream(); }

    void SetObserver(const EventHandler& on_event, const Notification& on_disconnect) override {
        // The observation that the three-callback form is about to start.
        const Observation observation = observation_ + 1;
        SetObserver(on_event, on_disconnect, [this, observation, on_event, on_disconnect] {
            if (is_current(observation)) {
                reconnect_stream(observation, on_event, on_disconnect);
            }
        });
    }

    void SetObserver(const EventHandler& on_event, const Notification& on_disconnect,
                     const Notification& on_stream_end) override {
        if (stream_manager_) {
            throw std::runtime_error(observer_name_ + " : Only one observer per client at a time");
        }
        ++observation_;
        observing_ = true;
        auto open = [this](grpc::ClientContext* context) {
            auto stream = this->stub().Subscribe(context);
            stream->Write(words_.start);
            return stream;
        };
        auto deliver = [this, on_event, on_disconnect](const WireEvent& event) {
            // An exception must not end the reader thread, and the daemon
            // with it.
            try {
                observed_event_handler(on_event, on_disconnect, event);
            } catch (const std::exception& e) {
                logger_.error("{}: {}", "observed_event_handler", e.what());
            }
        };
        stream_manager_ = std::make_unique<StreamManager>(this->channel(), std::move(open),
                                                          std::move(deliver), on_stream_end);
    }

    void RemoveObserver() override {
        observing_ = false;
        if (!stream_manager_) {
            return;
        }
        stream_manager_->write(words_.stop);
        stream_manager_.reset();
    }

  protected:
    using Observation = std::uint64_t;

    // Turns one wire event into calls of `on_event` (and of `on_disconnect`
    // where the backend's event says so). Runs on the stream's reader thread;
    // an exception is logged and the stream goes on.
    virtual void observed_event_handler(const EventHandler& on_event,
                                        const Notification& on_disconnect,
                                        const WireEvent& event) = 0;

    // Runs on the reader thread when the stream of `ended`, started by the
    // two-callback SetObserver, has ended while `ended` is still current.
    // Logs "reconnect_stream" and queues the reconnection, or logs
    // "reconnect_stream failed" when a callback (or the executor) is missing.
    virtual void reconnect_stream(Observation ended, const EventHandler& on_event,
                                  const Notification& on_disconnect) {
        logger_.info("reconnect_stream");
        if (!on_event || !on_disconnect || executor_ == nullptr) {
            logger_.error("reconnect_stream failed");
            return;
        }
        queue_reconnection(ended, on_event, on_disconnect);
    }

    // Queues on the executor (id 0, "reconnect_stream") the work that calls
    // RemoveObserver, refresh_channel and the two-callback SetObserver, then
    // `after`: unless the client is gone or `ended` is no longer current by
    // the time it runs (observation removed or replaced meanwhile).
    // REQUIRES: an executor; the client is destroyed on the executor's thread.
    void queue_reconnection(Observation ended, const EventHandler& on_event,
                            const Notification& on_disconnect, Notification after = nullptr) {
        std::weak_ptr<char> alive = alive_;
        executor_->add_work(
            [this, alive, ended, on_event, on_disconnect, after] {
                if (alive.expired() || !is_current(ended)) {
                    return;
                }
                RemoveObserver();
                this->refresh_channel();
                SetObserver(on_event, on_disconnect);
                if (after) {
                    after();
                }
            },
            0, "reconnect_stream");
    }

    // False, after logging "observed_event_handler: Unable to handle event,
    // callback is null", when either callback is missing.
    bool callbacks_set(const EventHandler& on_event, const Notification& on_disconnect) const {
        if (on_event && on_disconnect) {
            return true;
        }
        logger_.error("{}: Unable to handle event, callback is null", "observed_event_handler");
        return false;
    }

    // The handler of the backends whose observers get the wire events as they
    // are: the backend's announcement of a new stream (`started`) goes to
    // `on_ready`, every other event to `on_event`.
    void forward(const EventHandler& on_event, const Notification& on_ready, const WireEvent& event,
                 bool started) const {
        if (!callbacks_set(on_event, on_ready)) {
            return;
        }
        if (started) {
            on_ready();
        } else {
            on_event(event);
        }
    }

    // Ends the stream without telling the backend; a reconnection still
    // queued finds nothing to do.
    void close_stream() {
        observing_ = false;
        stream_manager_.reset();
    }

  private:
    bool is_current(Observation observation) const {
        return observing_ && observation_ == observation;
    }

    std::unique_ptr<StreamManager> stream_manager_;
    std::atomic<bool> observing_{false};
    Executor* const executor_;
    logging::Logger& logger_;
    const std::string observer_name_;
    const SubscriptionWords<Req> words_;
    std::atomic<Observation> observation_{0};
    // Expires with the client; queued reconnection work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vanta
