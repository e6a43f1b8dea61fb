#include "platform/cpu_state.h"

#include <fstream>
#include <sstream>

#include "platform/manufacturing_data.h"

namespace vanta::platform {

std::optional<CpuData> read_cpu_data(const std::string& stat_path) {
    std::ifstream file(stat_path);
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, 4, "cpu ") != 0) {
            continue;
        }
        std::istringstream fields(line.substr(4));
        CpuData data;
        fields >> data.user >> data.nice >> data.system >> data.idle;
        if (!fields) {
            return std::nullopt;
        }
        // Older kernels stop after idle; the rest stay 0.
        fields >> data.iowait >> data.irq >> data.softirq >> data.steal;
        return data;
    }
    return std::nullopt;
}

std::string read_cpu_temperature(SystemCommand& commands) {
    try {
        const std::string temperature =
            commands.system_output_string("cat /sys/class/thermal/thermal_zone0/temp");
        return temperature.empty() ? kUnknown : temperature;
    } catch (const std::exception&) {
        return kUnknown;
    }
}

std::string get_cpu_temperature(SystemCommand& commands) {
    return read_cpu_temperature(commands);
}

}  // namespace vanta::platform
