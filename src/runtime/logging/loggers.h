#pragma once

#include <string_view>

#include "runtime/logging/logger.h"

namespace logging {

// The logger registered under `name`, created on first request. The reference
// stays valid for the life of the process; after cleanupLoggers() it is
// silent.
Logger& getLogger(std::string_view name);
// A process-wide logger that drops everything.
Logger& getNullLogger();
// Forgets every registered logger; later getLogger() calls create new ones.
// The forgotten loggers stay valid but write nothing from then on.
void cleanupLoggers();

}  // namespace logging
