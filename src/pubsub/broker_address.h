#pragma once

#include <string>

namespace vanta::pubsub {

// Where the broker's services are: the address the service registry holds for
// them (asked with a 200 ms deadline), or else the sockets "pubservice" and
// "subservice" in the service context's root directory ("unix:/tmp/pubservice"
// and "unix:/tmp/subservice" by default).
std::string publish_service_address();
std::string subscribe_service_address();

}  // namespace vanta::pubsub
