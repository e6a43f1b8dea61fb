#pragma once

#include <functional>

namespace vanta {

// Runs `body`. An exception that leaves it is reported with one line on
// standard output ("Caught runtime_error with message '...'" and the like)
// and rethrown, so that it ends the process through the crash handler.
void run_guarded(const std::function<void()>& body);

}  // namespace vanta
