#pragma once

#include <string>

namespace vanta::pubsub {

// The broker's two services: the names under which the service registry knows
// them, and the socket names used in the service context's root directory when
// the registry has no entry.
inline const std::string kPublishServiceName = "Publish Service";
inline const std::string kPublishServiceAddress = "pubservice";
inline const std::string kSubscribeServiceName = "Subscribe Service";
inline const std::string kSubscribeServiceAddress = "subservice";

}  // namespace vanta::pubsub
