#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "pubsub.grpc.pb.h"
#include "sim/backend_server.h"

namespace vanta::sim {

// The message bus broker: the publish and the subscribe service of
// the device's bus, working for real.
//
// Subscribers subscribe to topics by name; every message delivered (through
// deliver(), or published by a client) is queued for each subscriber
// of its topic and written to that subscriber's open Read stream, or to the
// next one it opens. Every Publish and Subscribe call is recorded.
//
// It runs for hours in the simulator, so nothing grows with time: only the
// last calls are kept in the records, a subscriber that does not read keeps
// only its newest messages, and what a subscriber had not read when it went
// away (it cancelled its Read stream) is dropped.
//
// A broker restart is simulated by destroying the broker and building a new
// one on the same address: the new one knows no subscribers, as a restarted
// broker daemon would. Destroying the broker ends its open streams with
// UNAVAILABLE.
//
// Threading: every method may be called from any thread.
class BusBroker {
  public:
    // Where the device's broker listens: its publish and its subscribe service.
    static inline const std::vector<std::string> kDeviceAddresses = {"unix:/tmp/pubservice",
                                                                     "unix:/tmp/subservice"};

    struct SubscribeCall {
        std::string subscriber;
        std::vector<std::string> topics;
        bool accepted = false;
    };

    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    struct Limits {
        // Publish and Subscribe calls kept in the records.
        size_t history = 1000;
        // Messages waiting for one subscriber.
        size_t queue = 1000;
    };

    // A broker that serves nothing until serve() is called, or whose services
    // the caller registers on a server of its own.
    BusBroker();
    explicit BusBroker(Limits limits);
    // A broker serving both services on `address` ("unix:/path").
    explicit BusBroker(const std::string& address);
    // A broker serving both services on each of `addresses`.
    explicit BusBroker(const std::vector<std::string>& addresses);
    ~BusBroker();

    BusBroker(const BusBroker&) = delete;
    BusBroker& operator=(const BusBroker&) = delete;

    // Serves both services on `address`. Throws if already serving.
    void serve(const std::string& address);
    void serve(const std::vector<std::string>& addresses);
    // Ends every open Read stream, refuses new ones and stops the server.
    // The broker cannot serve again afterwards.
    void shutdown();

    // The two services, for callers that serve them on a server of their own
    // (which must not outlive the broker).
    grpc::Service* publish_service();
    grpc::Service* subscribe_service();

    // Queues `message` for every subscriber of its topic.
    void deliver(const vanta::pubsub::PubSubMsg& message);
    // A publish made inside the process (a simulated backend's announcement):
    // recorded like a client's, then delivered.
    void publish(const vanta::pubsub::PublishRequest& request);
    // Queues `message` for `subscriber` whatever it subscribed to, as a broker
    // does for a subscriber whose topics it mixed up.
    void deliver_to(const std::string& subscriber, const vanta::pubsub::PubSubMsg& message);
    // Ends the Read streams open now with UNAVAILABLE; later ones are served.
    void end_streams();

    // Publish answers every call with `status` while it is not OK.
    void fail_publish(const grpc::Status& status);
    // Publish answers `success` false with `reason` (empty reason: accept
    // again).
    void refuse_publish(const std::string& reason);
    // Publish waits this long before it answers.
    void delay_publish(std::chrono::milliseconds delay);
    // Subscribe answers `success` false to every request that names `topic`,
    // and subscribes to nothing of it.
    void refuse_topic(const std::string& topic);

    // The calls kept (the last Limits::history), oldest first.
    std::vector<vanta::pubsub::PublishRequest> publish_requests() const;
    std::vector<SubscribeCall> subscribe_calls() const;
    // The publishes kept that came after the first `seen` the broker received;
    // `seen` becomes the number received so far.
    std::vector<vanta::pubsub::PublishRequest> publish_requests_after(size_t& seen) const;
    // Messages waiting for `subscriber`'s next read.
    size_t queued_messages(const std::string& subscriber) const;
    // The topics `subscriber` is subscribed to, in the order first subscribed.
    std::vector<std::string> subscriptions(const std::string& subscriber) const;
    // Read streams open now (for any subscriber).
    size_t open_streams() const;

    // Bounded waits: whether the condition came true within `limit`. The
    // counts are of every call received, also those no longer kept.
    bool wait_for_publish_requests(size_t count,
                                   std::chrono::milliseconds limit = kDefaultWait) const;
    bool wait_for_subscribe_calls(size_t count,
                                  std::chrono::milliseconds limit = kDefaultWait) const;
    // At least `count` Read streams open for `subscriber`.
    bool wait_for_open_streams(const std::string& subscriber, size_t count = 1,
                               std::chrono::milliseconds limit = kDefaultWait) const;
    // No Read stream open for `subscriber` (its client has gone).
    bool wait_for_closed_streams(const std::string& subscriber,
                                 std::chrono::milliseconds limit = kDefaultWait) const;

  private:
    struct State;
    class PublishServiceImpl;
    class SubscribeServiceImpl;

    const std::unique_ptr<State> state_;
    const std::unique_ptr<PublishServiceImpl> publish_;
    const std::unique_ptr<SubscribeServiceImpl> subscribe_;
    std::mutex server_mutex_;
    std::unique_ptr<BackendServer> server_;
};

}  // namespace vanta::sim
