#pragma once

#include <string_view>

#include "runtime/logging/logger.h"

namespace logging {

// The logger registered under `name`, created on first request. The reference
// stays valid until cleanupLoggers().
Logger& getLogger(std::string_view name);
// A process-wide logger that drops everything.
Logger& getNullLogger();
// Forgets every registered logger; later getLogger() calls create new ones.
void cleanupLoggers();

}  // namespace logging
