#pragma once

#include <chrono>
#include <string>

// Time stamps and names of the log archives made on the device. Times are
// written in UTC, so names do not jump when the device's time zone changes.
namespace vanta::platform {

// "<YYYYmmdd>-<HHMM>-"
std::string get_timestamp(
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
// "/tmp/log-<name>-<YYYYmmdd>-<HHMMSS>-.tar.gz"
std::string get_output_log_filename(
    const std::string& name,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

}  // namespace vanta::platform
