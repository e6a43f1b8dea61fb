#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "pubsub/pubsub_message.h"

namespace vanta::pubsub {

// One named subscriber of the device's bus.
class Subscriber {
  public:
    virtual ~Subscriber() = default;
    virtual std::string name() const = 0;
    // Adds `topics`, in this order, to the subscriber's subscriptions; whether
    // the broker accepted them.
    virtual bool subscribe(std::vector<std::string> topics) = 0;
    // The topics the broker holds for this subscriber; empty when it does not
    // answer.
    virtual std::vector<std::string> subscriptions() = 0;
    // Waits for the next message of a subscribed topic; false when the stream
    // broke (see restart()).
    virtual bool read(PubSubMessage& message) const = 0;
    // Makes a read in progress, and later reads, return false until restart().
    virtual void stop_reading() const = 0;
    // Reopens the stream; whether that worked.
    virtual bool restart() = 0;
    // Deadline of subscribe() and subscriptions(); 0 means none.
    virtual void set_timeout(std::chrono::milliseconds timeout) = 0;
    virtual std::chrono::milliseconds timeout() const = 0;
};

}  // namespace vanta::pubsub
