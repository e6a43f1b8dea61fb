#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "support/wait_until.h"

namespace vanta::testing {

// What an observer was told, in order, from whichever thread told it (a
// stream's reader thread, usually).
class Told {
  public:
    void add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(entry);
    }
    std::vector<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    // Waits (5 s, scaled) until at least `count` things were told.
    bool wait_for(std::size_t count) {
        return wait_until([&] { return seen().size() >= count; }, std::chrono::seconds(5));
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

}  // namespace vanta::testing
