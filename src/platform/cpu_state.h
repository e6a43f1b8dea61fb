#pragma once

#include <optional>
#include <string>

#include "platform/system_command.h"

// Load and temperature of the processor.
namespace vanta::platform {

inline constexpr const char* kProcStatPath = "/proc/stat";

// The times of the "cpu " line of /proc/stat, in clock ticks.
struct CpuData {
    unsigned long long user = 0;
    unsigned long long nice = 0;
    unsigned long long system = 0;
    unsigned long long idle = 0;
    unsigned long long iowait = 0;
    unsigned long long irq = 0;
    unsigned long long softirq = 0;
    unsigned long long steal = 0;
};

// Nothing when the file or its "cpu " line cannot be read.
std::optional<CpuData> read_cpu_data(const std::string& stat_path = kProcStatPath);

// The first thermal zone's temperature as the kernel writes it (millidegrees
// Celsius), or "unknown".
std::string read_cpu_temperature(SystemCommand& commands);
std::string get_cpu_temperature(SystemCommand& commands);

}  // namespace vanta::platform
