#pragma once

#include <chrono>
#include <cstdlib>
#include <thread>

namespace vanta::testing {

// `limit` times VANTA_TEST_TIME_SCALE (a whole number, 1 when unset): the
// bounded waits and the delays that tests rely on, stretched for runs where
// everything is many times slower than on the device (under an emulator).
inline std::chrono::milliseconds scaled(std::chrono::milliseconds limit) {
    static const long factor = [] {
        const char* text = std::getenv("VANTA_TEST_TIME_SCALE");
        const long value = text != nullptr ? std::strtol(text, nullptr, 10) : 1;
        return value > 0 ? value : 1L;
    }();
    return limit * factor;
}

// Polls `condition` every 10 ms until it holds or `limit` (scaled) has
// passed; whether it held. For conditions that nothing signals (files,
// process state).
template <typename Condition>
bool wait_until(Condition condition, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + scaled(limit);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace vanta::testing
