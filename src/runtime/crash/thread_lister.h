#pragma once

#include <sys/types.h>

#include <cstddef>

namespace vanta::crash {

// Lists the ids of the threads of `process` (0: this one) from its /proc task
// folder into `ids`, at most `capacity` of them, in the folder's order.
// Returns how many were listed; 0 when the folder cannot be read. Reads the
// folder with getdents64 into a buffer on the stack and never allocates, so a
// signal handler may call it.
size_t listThreads(pid_t process, pid_t* ids, size_t capacity);

}  // namespace vanta::crash
