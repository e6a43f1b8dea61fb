#pragma once

#include <signal.h>
#include <sys/types.h>
#include <ucontext.h>

#include <memory>

namespace vanta {

// Writes a minidump of the crashing thread into an open file: the system, the
// exception, the thread with its registers and the top of its stack, every
// mapped ELF file with its build id, and the raw texts of /proc/self/maps and
// /proc/self/status.
//
// Everything that needs memory is allocated by the constructor; write() only
// makes system calls and uses the writer's own buffers, so it may run inside a
// signal handler. REQUIRES: one write() at a time (the crash handler lets only
// one thread dump).
class MinidumpWriter {
  public:
    MinidumpWriter();
    ~MinidumpWriter();
    MinidumpWriter(const MinidumpWriter&) = delete;
    MinidumpWriter& operator=(const MinidumpWriter&) = delete;

    // Writes the dump for the signal that `info` and `context` (the second and
    // third arguments of an SA_SIGINFO handler) describe, raised in the calling
    // thread `thread_id`. Returns false if some part could not be written; the
    // file then holds what was written.
    bool write(int fd, const siginfo_t& info, const ucontext_t* context, pid_t thread_id);

  private:
    struct Scratch;
    std::unique_ptr<Scratch> scratch_;
};

}  // namespace vanta
