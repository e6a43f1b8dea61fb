#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pubsub/pubsub_message.h"

namespace vanta::pubsub {

// Delivers every message of the subscribed topics to one callback, and keeps
// the subscription alive across broker restarts.
class SubscriptionEventHandler {
  public:
    virtual ~SubscriptionEventHandler() = default;
    // Subscribes to `topics`; whether the broker accepted them. Accepted
    // topics are subscribed again after the broker restarts.
    virtual bool subscribe(std::vector<std::string> topics) = 0;
    // Starts the delivery thread, on which `on_message` runs for each message.
    virtual void start(std::function<void(const PubSubMessage&)> on_message) = 0;
    // Ends delivery and joins the thread.
    virtual void stop() = 0;
};

}  // namespace vanta::pubsub
