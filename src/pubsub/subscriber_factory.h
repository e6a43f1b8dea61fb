#pragma once

#include <memory>
#include <string>

#include "pubsub/subscriber.h"

namespace vanta::pubsub {

// A subscriber named `name` on the broker that the service registry names, or
// else on the socket "subservice" in the service context's root directory.
std::unique_ptr<Subscriber> create_subscriber(const std::string& name);

}  // namespace vanta::pubsub
