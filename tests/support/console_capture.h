#pragma once

#include <algorithm>
#include <iterator>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/logging/loglib.h"

namespace vanta::testing {

// Collects what every named logger writes while it exists, one entry per
// message without a line break ("VantaApi I: text"). This is how tests
// see the lines of code that logs through logging::getLogger(name).
class ConsoleCapture {
  public:
    // With `formatting`, the output the library formats for a console
    // ("RegistryTest I: new\n"), as the log library's own tests look at it.
    explicit ConsoleCapture(bool formatting = false) {
        output_.write = [this](std::string_view text) {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.emplace_back(text);
        };
        output_.formatting = formatting;
        Log_addCo(&output_);
    }
    ~ConsoleCapture() { Log_removeCo(&output_); }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    LogConsoleOutput* output() { return &output_; }

    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    // The lines that contain `text`, in order.
    std::vector<std::string> lines_containing(std::string_view text) const {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::string> found;
        std::copy_if(lines_.begin(), lines_.end(), std::back_inserter(found),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
        return found;
    }
    // How many lines are exactly `line`.
    size_t count_exactly(const std::string& line) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::count(lines_.begin(), lines_.end(), line);
    }
    // How many lines from the one numbered `from` (0: the first) on contain
    // `text`.
    size_t count(std::string_view text, size_t from = 0) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::count_if(
            lines_.begin() + std::min(from, lines_.size()), lines_.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

  private:
    LogConsoleOutput output_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace vanta::testing
