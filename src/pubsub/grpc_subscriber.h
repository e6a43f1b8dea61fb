#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "pubsub.grpc.pb.h"
#include "pubsub/subscribe_interface.h"
#include "runtime/logging/logger.h"
#include "runtime/logging/loggers.h"

namespace vanta::pubsub {

// The broker's subscribe service over gRPC, for one subscriber name.
//
// Threading: read() and restart() belong to one reader thread. stop_reading()
// may come from any thread: it cancels the stream, waits for a read in
// progress to return, and keeps the subscriber from reconnecting until the
// next restart(). subscribe(), subscriptions() and the timeout may be used
// from any thread.
class GrpcSubscriber final : public SubscribeInterface {
  public:
    GrpcSubscriber(const std::string& address, const std::string& name,
                   const logging::Logger& logger = logging::getLogger("GrpcSubscriber"));
    ~GrpcSubscriber() override;

    GrpcSubscriber(const GrpcSubscriber&) = delete;
    GrpcSubscriber& operator=(const GrpcSubscriber&) = delete;

    bool subscribe(const SubscriptionRequest& request) override;
    bool subscriptions(const SubscriptionQueryRequest& request,
                       Subscriptions& subscriptions) override;
    // Opens the stream first when none is open (waiting up to a second for
    // the broker).
    bool read(const ReadRequest& request, PubSubMsg& message) override;
    void stop_reading() override;
    bool restart() override;
    std::chrono::milliseconds timeout() const override;
    void set_timeout(std::chrono::milliseconds timeout) override;

    const std::string& name() const { return name_; }

  private:
    // A channel to the broker and its stub; replaced on every reconnection.
    struct Connection;
    // One Read stream and, once it has ended, its final status.
    struct ReadCall;

    bool create_reader();
    // Polls the current channel every 100 ms until it is ready, for at most
    // `timeout`; gives up early when reading is stopped.
    bool try_connect(std::chrono::milliseconds timeout);
    // REQUIRES: mutex_ held, no read in progress.
    void finish_call_locked();
    std::shared_ptr<Connection> connection() const;
    void set_deadline(grpc::ClientContext& context) const;

    const std::string address_;
    const std::string name_;
    std::atomic<std::chrono::milliseconds> timeout_{std::chrono::milliseconds(0)};
    const logging::Logger& logger_;

    mutable std::mutex mutex_;
    std::condition_variable read_returned_;
    std::shared_ptr<Connection> connection_;
    std::unique_ptr<ReadCall> call_;
    bool reading_ = false;
    bool stopped_ = false;
};

}  // namespace vanta::pubsub
