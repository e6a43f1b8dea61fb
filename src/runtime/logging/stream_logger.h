#pragma once

#include <atomic>

#include "runtime/logging/logger.h"
#include "runtime/logging/loglib.h"

namespace logging {

// The daemon's logger: formats "<module> I: <message>" (and the other level
// prefixes) and hands it to the log library's context of the same name.
// After retire() it writes nothing and reports every debug level disabled.
class StreamLogger final : public Logger {
  public:
    explicit StreamLogger(std::string_view name);
    StreamLogger(const StreamLogger&) = delete;
    StreamLogger& operator=(const StreamLogger&) = delete;

    void print_error(std::string_view format, fmt::format_args&& args) const override;
    void print_warning(std::string_view format, fmt::format_args&& args) const override;
    void print_info(std::string_view format, fmt::format_args&& args) const override;
    void print_debug(int level, std::string_view format, fmt::format_args&& args) const override;
    bool isDebugEnabled(int level) const override;
    std::string getModuleName() const override;
    int debugLevel() const override;
    void enableDebugLevel(int level) override;

    // Called by the registry when it drops the logger (logging::cleanupLoggers()).
    void retire();

  private:
    void output(int library_level, fmt::memory_buffer& buffer, std::string_view format,
                fmt::format_args&& args) const;

    LogCtx* context_;
    std::string module_name_;
    std::atomic<bool> retired_{false};
};

}  // namespace logging
