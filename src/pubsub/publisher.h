#pragma once

#include <chrono>
#include <string>

#include "pubsub/pubsub_message.h"

namespace vanta::pubsub {

// Publishes messages on the device's bus under one author name.
class Publisher {
  public:
    virtual ~Publisher() = default;
    // Whether the broker took the message. When it did not, the reason is
    // kept for GetLastFailureReason(). Throws std::runtime_error for failures
    // that retrying cannot fix.
    virtual bool Publish(const PubSubMessage& message) = 0;
    virtual std::string GetLastFailureReason() = 0;
    // Deadline of each publish call; 0 means none.
    virtual void set_timeout(std::chrono::milliseconds timeout) = 0;
    virtual std::chrono::milliseconds timeout() const = 0;
};

}  // namespace vanta::pubsub
