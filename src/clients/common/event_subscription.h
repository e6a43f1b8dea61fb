#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "clients/common/backend_subscription.h"
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
    using Stream = grpc::ClientReaderWriterInterface<Request, Event>;

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
        : backend_(std::move(backend)),
          logger_(logger),
          subscription_(backend_.name + "::SetObserver", backend_.start, backend_.stop, executor,
                        logger) {}

    void set_observer(const EventHandler& on_event, const Notification& on_ready) {
        set_observer(on_event, on_ready,
                     subscription_.reconnecting(on_event && on_ready, [this, on_event, on_ready] {
                         remove_observer();
                         backend_.client.refresh_channel();
                         set_observer(on_event, on_ready);
                     }));
    }

    void set_observer(const EventHandler& on_event, const Notification& on_ready,
                      const Notification& on_closed) {
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
        subscription_.start(backend_.channel(), backend_.subscribe, std::move(deliver), on_closed);
    }

    void remove_observer() { subscription_.stop(); }

  private:
    Backend backend_;
    logging::Logger& logger_;
    BackendSubscription<Request, Event> subscription_;
};

// The request of the backends whose SubscriptionRequest carries `unsubscribe`.
template <typename Request>
Request unsubscribe_request(bool unsubscribe) {
    Request request;
    request.set_unsubscribe(unsubscribe);
    return request;
}

}  // namespace vanta::clients
