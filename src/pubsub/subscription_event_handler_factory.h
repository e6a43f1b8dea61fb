#pragma once

#include <memory>
#include <string>

#include "pubsub/subscription_event_handler.h"
#include "rpc/client/endpoint_catalogue.h"

namespace vanta::pubsub {

// A subscription event handler over create_subscriber(name, endpoint).
std::unique_ptr<SubscriptionEventHandler> create_subscription_event_handler(
    const std::string& name, const Endpoint& endpoint = device_endpoints().subservice);

}  // namespace vanta::pubsub
