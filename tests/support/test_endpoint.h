#pragma once

#include <chrono>
#include <string>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::testing {

// The device's row `row` served at `address` (a test's own socket), asked of no
// registry, its calls bounded by `deadline`: the client under test keeps the
// service name it has on the device.
inline Endpoint endpoint_at(Endpoint row, const std::string& address,
                            std::chrono::milliseconds deadline) {
    row.address = address;
    row.registry_name.clear();
    row.deadline = deadline;
    return row;
}

}  // namespace vanta::testing
