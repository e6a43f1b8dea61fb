#pragma once

#include <sys/types.h>

#include "runtime/crash/thread_context.h"

// Stops single threads of another process with ptrace, reads their registers
// and lets them go again. Only system calls: a process cloned by a signal
// handler may use it.
namespace vanta::crash {

struct StoppedThread {
    pid_t id = 0;
    // A signal that arrived while stopping the thread; it is handed back on
    // resumption so that the thread still receives it.
    int pending_signal = 0;
};

enum class StopResult {
    kStopped,
    kGone,     // the thread ended
    kRefused,  // not allowed to trace it (a sandbox, another tracer, ...)
};

// Attaches to the thread and waits until it has stopped (PTRACE_SEIZE and
// PTRACE_INTERRUPT, so no SIGSTOP is left behind).
StopResult stopThread(pid_t id, StoppedThread& thread);

// The registers of a stopped thread. False when they cannot be read.
bool readThreadContext(const StoppedThread& thread, NativeContext& context);

// Detaches from the thread, which then runs on.
void resumeThread(const StoppedThread& thread);

}  // namespace vanta::crash
