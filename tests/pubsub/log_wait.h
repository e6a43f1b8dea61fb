#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "support/recording_logger.h"

namespace vanta::pubsub {

// Whether `log` holds a line beginning with `prefix` within `limit`.
inline bool wait_for_log_line(const vanta::testing::RecordingLogger& log, const std::string& prefix,
                              std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        for (const auto& line : log.lines()) {
            if (line.rfind(prefix, 0) == 0) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace vanta::pubsub
