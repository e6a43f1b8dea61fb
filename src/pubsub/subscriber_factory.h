#pragma once

#include <memory>
#include <string>

#include "pubsub/subscriber.h"
#include "rpc/client/endpoint_catalogue.h"

namespace vanta::pubsub {

// A subscriber named `name` on the broker's subscribe service at `endpoint`
// (resolved through the service registry when it has a registry name).
std::unique_ptr<Subscriber> create_subscriber(
    const std::string& name, const Endpoint& endpoint = device_endpoints().subservice);

}  // namespace vanta::pubsub
