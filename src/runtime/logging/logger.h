#pragma once

#include <string>
#include <string_view>

#include <fmt/format.h>

namespace logging {

// A named logger with error, warning, info and numbered debug levels. The
// typed front-ends take fmt-style format strings; loggers are thread-safe.
class Logger {
  public:
    virtual ~Logger() = default;
    virtual void print_error(std::string_view format, fmt::format_args&& args) const = 0;
    virtual void print_warning(std::string_view format, fmt::format_args&& args) const = 0;
    virtual void print_info(std::string_view format, fmt::format_args&& args) const = 0;
    virtual void print_debug(int level, std::string_view format, fmt::format_args&& args) const = 0;
    virtual bool isDebugEnabled(int level) const = 0;
    virtual std::string getModuleName() const = 0;
    virtual int debugLevel() const = 0;
    virtual void enableDebugLevel(int level) = 0;

    template <typename... Args>
    void error(fmt::format_string<Args...> format, Args&&... args) const {
        print_error(to_view(format), fmt::format_args(fmt::make_format_args(args...)));
    }
    template <typename... Args>
    void warning(fmt::format_string<Args...> format, Args&&... args) const {
        print_warning(to_view(format), fmt::format_args(fmt::make_format_args(args...)));
    }
    template <typename... Args>
    void info(fmt::format_string<Args...> format, Args&&... args) const {
        print_info(to_view(format), fmt::format_args(fmt::make_format_args(args...)));
    }
    template <typename... Args>
    void debug(int level, fmt::format_string<Args...> format, Args&&... args) const {
        if (isDebugEnabled(level)) {
            print_debug(level, to_view(format), fmt::format_args(fmt::make_format_args(args...)));
        }
    }

  private:
    template <typename Format>
    static std::string_view to_view(const Format& format) {
        const fmt::string_view view(format);
        return {view.data(), view.size()};
    }
};

}  // namespace logging
