#pragma once

#include "runtime/logging/logger.h"

namespace logging {

// A logger that drops everything.
class NullLogger final : public Logger {
  public:
    void print_error(std::string_view, fmt::format_args&&) const override {}
    void print_warning(std::string_view, fmt::format_args&&) const override {}
    void print_info(std::string_view, fmt::format_args&&) const override {}
    void print_debug(int, std::string_view, fmt::format_args&&) const override {}
    bool isDebugEnabled(int) const override { return false; }
    std::string getModuleName() const override { return {}; }
    int debugLevel() const override { return 0; }
    void enableDebugLevel(int) override {}
};

}  // namespace logging
