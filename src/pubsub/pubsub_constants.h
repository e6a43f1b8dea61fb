#pragma once

#include <string>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::pubsub {

// The broker's two services: the names under which the service registry knows
// them, and their socket names on the device when the registry has no entry.
inline const std::string kPublishServiceName = device_endpoints().pubservice.registry_name;
inline const std::string kPublishServiceAddress = socket_name(device_endpoints().pubservice);
inline const std::string kSubscribeServiceName = device_endpoints().subservice.registry_name;
inline const std::string kSubscribeServiceAddress = socket_name(device_endpoints().subservice);

}  // namespace vanta::pubsub
