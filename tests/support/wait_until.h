#pragma once

#include <chrono>
#include <thread>

namespace vanta::testing {

// Polls `condition` every 10 ms until it holds or `limit` has passed; whether
// it held. For conditions that nothing signals (files, process state).
template <typename Condition>
bool wait_until(Condition condition, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace vanta::testing
