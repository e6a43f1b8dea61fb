#pragma once

#include <string>

#include "runtime/logging/logger.h"

namespace vanta {

// Whether something exists at `path` (a service's socket).
bool is_service_running(const std::string& path);

// Looks for the socket of `address` ("unix:<path>") five times, a second
// apart, or once when `once` is set; all five looks are made even after the
// socket was seen. Logs the outcome at info level and returns whether the
// socket was seen. Throws std::out_of_range for an address shorter than
// "unix:" and std::invalid_argument for one that does not start with it.
bool check_service_health(const std::string& address, const logging::Logger& logger, bool once);

// Asks the registry under `root` (see create_service_registry_client()) for
// `service` up to 11 times, a second apart, or once when `once` is set, until
// it answers with an address. Logs the outcome at info level and returns
// whether an address was found.
bool check_service_health(const std::string& root, const std::string& service,
                          const logging::Logger& logger, bool once);

}  // namespace vanta
