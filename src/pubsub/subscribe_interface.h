#pragma once

#include <chrono>

#include "pubsub.pb.h"

namespace vanta::pubsub {

// The broker's subscribe service as a subscriber sees it: subscribing to
// topics, and reading the messages of those topics from a stream.
class SubscribeInterface {
  public:
    virtual ~SubscribeInterface() = default;
    // Whether the broker accepted the subscription.
    virtual bool subscribe(const SubscriptionRequest& request) = 0;
    // Fills `subscriptions` with what the broker holds; whether it answered.
    virtual bool subscriptions(const SubscriptionQueryRequest& request,
                               Subscriptions& subscriptions) = 0;
    // Waits for the next message; false when the stream cannot give one.
    virtual bool read(const ReadRequest& request, PubSubMsg& message) = 0;
    // Ends reading: a read in progress returns false.
    virtual void stop_reading() = 0;
    // Reopens the stream; whether that worked.
    virtual bool restart() { return true; }
    // Deadline of the unary calls; 0 means none.
    virtual std::chrono::milliseconds timeout() const = 0;
    virtual void set_timeout(std::chrono::milliseconds timeout) = 0;
};

}  // namespace vanta::pubsub
