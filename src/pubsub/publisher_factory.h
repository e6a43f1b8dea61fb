#pragma once

#include <memory>
#include <string>

#include "pubsub/publisher.h"
#include "rpc/client/endpoint_catalogue.h"

namespace vanta::pubsub {

// A publisher on the broker's publish service at `endpoint` (resolved through
// the service registry when it has a registry name), publishing as `name`; an
// empty name publishes under the process id.
std::unique_ptr<Publisher> create_publisher_client(
    const std::string& name, const Endpoint& endpoint = device_endpoints().pubservice);

}  // namespace vanta::pubsub
