#include "runtime/logging/stream_logger.h"

namespace logging {

namespace {
constexpr int kErrorLevel = 0;
constexpr int kWarningLevel = 1;
constexpr int kInfoLevel = 2;
constexpr int kDebugLevel = 3;
}  // namespace

StreamLogger::StreamLogger(std::string_view name)
    : context_(Log_getCtx(std::string(name).c_str())), module_name_(name) {}

void StreamLogger::output(int library_level, fmt::memory_buffer& buffer, std::string_view format,
                          fmt::format_args&& args) const {
    if (retired_) {
        return;
    }
    fmt::vformat_to(std::back_inserter(buffer), fmt::string_view(format.data(), format.size()),
                    args);
    loglib_output_message(context_, library_level, buffer.data(), buffer.size());
}

void StreamLogger::print_error(std::string_view format, fmt::format_args&& args) const {
    fmt::memory_buffer buffer;
    fmt::format_to(std::back_inserter(buffer), "{} ERROR: ", module_name_);
    output(kErrorLevel, buffer, format, std::move(args));
}

void StreamLogger::print_warning(std::string_view format, fmt::format_args&& args) const {
    fmt::memory_buffer buffer;
    fmt::format_to(std::back_inserter(buffer), "{} W: ", module_name_);
    output(kWarningLevel, buffer, format, std::move(args));
}

void StreamLogger::print_info(std::string_view format, fmt::format_args&& args) const {
    fmt::memory_buffer buffer;
    fmt::format_to(std::back_inserter(buffer), "{} I: ", module_name_);
    output(kInfoLevel, buffer, format, std::move(args));
}

void StreamLogger::print_debug(int level, std::string_view format, fmt::format_args&& args) const {
    if (!isDebugEnabled(level)) {
        return;
    }
    fmt::memory_buffer buffer;
    fmt::format_to(std::back_inserter(buffer), "{}[{}]: ", module_name_, level);
    output(kDebugLevel, buffer, format, std::move(args));
}

bool StreamLogger::isDebugEnabled(int level) const {
    return !retired_ && Log_isDebugEnabled(context_, level);
}

std::string StreamLogger::getModuleName() const {
    return module_name_;
}

int StreamLogger::debugLevel() const {
    return Log_getDebugLevel(context_);
}

void StreamLogger::enableDebugLevel(int level) {
    Log_enableDebugLevel(context_, level);
}

void StreamLogger::retire() {
    retired_ = true;
}

}  // namespace logging
