#pragma once

#include <memory>
#include <string>

#include "pubsub/publisher.h"

namespace vanta::pubsub {

// A publisher on the broker that the service registry names (or the default
// socket), publishing as `name`; an empty name publishes under the process id.
std::unique_ptr<Publisher> create_publisher_client(const std::string& name);

}  // namespace vanta::pubsub
