#include "platform/log_file_names.h"

#include <ctime>

namespace vanta::platform {

namespace {

std::string format_utc(std::chrono::system_clock::time_point time, const char* format) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64] = {};
    std::strftime(text, sizeof(text), format, &parts);
    return text;
}

}  // namespace

std::string get_timestamp(std::chrono::system_clock::time_point now) {
    return format_utc(now, "%Y%m%d-%H%M-");
}

std::string get_output_log_filename(const std::string& name,
                                    std::chrono::system_clock::time_point now) {
    return "/tmp/log-" + name + "-" + format_utc(now, "%Y%m%d-%H%M%S-") + ".tar.gz";
}

}  // namespace vanta::platform
