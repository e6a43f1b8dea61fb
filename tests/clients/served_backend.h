#pragma once

#include <chrono>
#include <string>

#include "sim/backend_server.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

namespace vanta::testing {

// A simulated backend on a socket of its own temporary directory, and the
// device's catalogue row `row` moved there, its calls bounded by `deadline`.
template <typename Backend>
struct Served {
    explicit Served(const Endpoint& row,
                    std::chrono::milliseconds deadline = std::chrono::seconds(2))
        : endpoint(endpoint_at(row, address, deadline)) {}

    TempDir dir;
    std::string address = dir.socket_address("backend");
    Backend backend;
    sim::BackendServer server{address, {&backend}};
    Endpoint endpoint;
};

}  // namespace vanta::testing
