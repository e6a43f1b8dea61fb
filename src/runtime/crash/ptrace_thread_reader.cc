#include "runtime/crash/ptrace_thread_reader.h"

#include <elf.h>
#include <sys/ptrace.h>
#include <sys/uio.h>
#include <sys/wait.h>

#include <cerrno>

namespace vanta::crash {

namespace {

long traceRequest(int request, pid_t id, void* address, void* data) {
    return ptrace(static_cast<__ptrace_request>(request), id, address, data);
}

bool readRegisterSet(pid_t id, int set, void* registers, size_t size) {
    iovec buffer{registers, size};
    return traceRequest(PTRACE_GETREGSET, id, reinterpret_cast<void*>(static_cast<uintptr_t>(set)),
                        &buffer) == 0 &&
           buffer.iov_len == size;
}

}  // namespace

StopResult stopThread(pid_t id, StoppedThread& thread) {
    thread = StoppedThread{id, 0};
    if (traceRequest(PTRACE_SEIZE, id, nullptr, nullptr) != 0) {
        return errno == ESRCH ? StopResult::kGone : StopResult::kRefused;
    }
    if (traceRequest(PTRACE_INTERRUPT, id, nullptr, nullptr) != 0) {
        const StopResult result = errno == ESRCH ? StopResult::kGone : StopResult::kRefused;
        traceRequest(PTRACE_DETACH, id, nullptr, nullptr);
        return result;
    }
    for (;;) {
        int status = 0;
        const pid_t waited = waitpid(id, &status, __WALL);
        if (waited < 0 && errno == EINTR) {
            continue;
        }
        if (waited != id || !WIFSTOPPED(status)) {
            // Exited (or was reaped) before it stopped.
            return StopResult::kGone;
        }
        // The interrupt shows as an event stop; any other stop is a signal
        // being delivered, which the thread is to get after all.
        if ((status >> 16) != PTRACE_EVENT_STOP) {
            thread.pending_signal = WSTOPSIG(status);
        }
        return StopResult::kStopped;
    }
}

bool readThreadContext(const StoppedThread& thread, NativeContext& context) {
    if constexpr (!kHasNativeContext) {
        return false;
    }
    PtraceRegisters registers{};
    if (!readRegisterSet(thread.id, NT_PRSTATUS, &registers, sizeof registers)) {
        return false;
    }
#if defined(__x86_64__)
    PtraceFloatRegisters float_registers{};
    const bool has_float =
        readRegisterSet(thread.id, NT_PRFPREG, &float_registers, sizeof float_registers);
    return contextFromPtrace(registers, has_float ? &float_registers : nullptr, context);
#else
    return contextFromPtrace(registers, nullptr, context);
#endif
}

void resumeThread(const StoppedThread& thread) {
    traceRequest(PTRACE_DETACH, thread.id, nullptr,
                 reinterpret_cast<void*>(static_cast<uintptr_t>(thread.pending_signal)));
}

}  // namespace vanta::crash
