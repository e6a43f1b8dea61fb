#pragma once

#include <memory>
#include <string>

#include "pubsub/subscription_event_handler.h"

namespace vanta::pubsub {

// A subscription event handler over create_subscriber(name).
std::unique_ptr<SubscriptionEventHandler> create_subscription_event_handler(
    const std::string& name);

}  // namespace vanta::pubsub
