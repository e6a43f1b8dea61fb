#pragma once

#include <chrono>
#include <functional>

#include "runtime/executor/waiting_executor.h"

namespace vanta {

constexpr std::chrono::seconds kMainLoopDeadline{5};

// Runs the executor's queued work on the calling thread, one item at a time,
// until `should_quit` holds. The flag is looked at once per deadline period
// (5 s, fixed at the start of each period), so a quit request is acted on at
// the first moment the queue is empty after the current deadline has passed.
// What a work item throws leaves the loop.
void run_main_loop(WaitingExecutor& executor, const std::function<bool()>& should_quit,
                   std::chrono::nanoseconds period = kMainLoopDeadline);

}  // namespace vanta
