#pragma once

#include <chrono>
#include <string>

namespace vanta {

// How long the client factories let the registry take to answer a look-up.
inline constexpr std::chrono::milliseconds kServiceLookupTimeout{200};

// The address the registry holds for `registry_name` ("Publish Service"), or
// `fallback_address` when it holds none or does not answer within `timeout`.
std::string lookup_service_address(const std::string& registry_name,
                                   const std::string& fallback_address,
                                   std::chrono::milliseconds timeout);

// The address the registry holds for `registry_name`, or else the socket
// `socket_name` ("pubservice") in the service context's root directory:
// "unix:/tmp/pubservice" by default.
std::string resolve_service_address(const std::string& registry_name,
                                    const std::string& socket_name);

}  // namespace vanta
