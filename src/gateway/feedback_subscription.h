#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include <grpcpp/client_context.h>
#include <grpcpp/support/sync_stream.h>

#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_client_channel.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The API client's one subscription to the VantaApi event stream.
//
// The stream is read on a reader thread of its own; each event, the end of
// the stream and any reconnection are handed to the executor, so callbacks
// run there, one at a time and in stream order, and may subscribe or
// unsubscribe themselves. Work queued for a subscription that has since been
// ended or replaced does nothing.
//
// Threading: subscribe() and unsubscribe() may be called from any thread.
// REQUIRES: the executor outlives this object and runs nothing more once it
// is destroyed (its thread is stopped first): queued work refers to it.
class FeedbackSubscription {
  public:
    using Event = vantaapi::VantaEvent;
    using Request = vantaapi::SubscriptionRequest;
    using Stream = grpc::ClientReaderWriterInterface<Request, Event>;
    using OpenStream = std::function<std::unique_ptr<Stream>(grpc::ClientContext*)>;
    using EventCallback = std::function<void(const Event&)>;
    using Notification = std::function<void()>;

    FeedbackSubscription(std::function<std::shared_ptr<GrpcClientChannel>()> channel,
                         OpenStream open, Executor& executor, logging::Logger& logger);
    // Closes an open stream without running any callback.
    ~FeedbackSubscription();
    FeedbackSubscription(const FeedbackSubscription&) = delete;
    FeedbackSubscription& operator=(const FeedbackSubscription&) = delete;

    // A stream that ends is opened again with the same callbacks (when both
    // are set). Throws std::runtime_error while subscribed.
    void subscribe(const EventCallback& on_event, const Notification& on_started);
    // A stream that ends calls `on_ended`; the subscription stays until
    // unsubscribe(). Throws std::runtime_error while subscribed.
    void subscribe(const EventCallback& on_event, const Notification& on_started,
                   const Notification& on_ended);
    // Tells the service that the subscription ends and closes the stream.
    void unsubscribe();

  private:
    using Manager = GrpcClientBidiStreamManager<Request, Event>;

    static constexpr std::chrono::milliseconds kReconnectDelay{1000};

    void deliver(const Event& event, const EventCallback& on_event,
                 const Notification& on_started) const;
    void reconnect_stream(const EventCallback& on_event, const Notification& on_started);
    // Queues `work` for subscription `generation`; it is skipped if that
    // subscription has ended by the time it runs.
    void post(std::uint64_t generation, const char* name, std::function<void()> work);
    bool is_current(std::uint64_t generation) const;

    std::function<std::shared_ptr<GrpcClientChannel>()> channel_;
    OpenStream open_;
    Executor& executor_;
    logging::Logger& logger_;

    mutable std::mutex mutex_;
    std::unique_ptr<Manager> stream_;
    // Counts subscriptions; queued work carries the value it was queued for.
    std::uint64_t generation_ = 0;
};

}  // namespace vanta
