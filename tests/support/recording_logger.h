#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/logging/logger.h"

namespace vanta::testing {

// A logger that keeps every formatted line, prefixed with its level
// ("E ", "W ", "I ", "D<n> "), for tests to look at.
class RecordingLogger final : public logging::Logger {
  public:
    void print_error(std::string_view format, fmt::format_args&& args) const override {
        record("E ", format, args);
    }
    void print_warning(std::string_view format, fmt::format_args&& args) const override {
        record("W ", format, args);
    }
    void print_info(std::string_view format, fmt::format_args&& args) const override {
        record("I ", format, args);
    }
    void print_debug(int level, std::string_view format, fmt::format_args&& args) const override {
        if (isDebugEnabled(level)) {
            record("D" + std::to_string(level) + " ", format, args);
        }
    }
    bool isDebugEnabled(int level) const override { return level <= level_; }
    std::string getModuleName() const override { return "recording"; }
    int debugLevel() const override { return level_; }
    void enableDebugLevel(int level) override { level_ = level; }

    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    // How many lines equal `line` exactly.
    size_t count(const std::string& line) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::count(lines_.begin(), lines_.end(), line);
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

  private:
    void record(const std::string& prefix, std::string_view format,
                const fmt::format_args& args) const {
        std::string line =
            prefix + fmt::vformat(fmt::string_view(format.data(), format.size()), args);
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(std::move(line));
    }

    mutable std::mutex mutex_;
    mutable std::vector<std::string> lines_;
    int level_ = 0;
};

}  // namespace vanta::testing
