#pragma once

#include <signal.h>
#include <sys/types.h>
#include <ucontext.h>

#include <cstddef>
#include <memory>

#include "runtime/crash/thread_context.h"

namespace vanta {

// The threads of a crashed process besides the crashing one, stopped while a
// helper process writes its dump.
class OtherThreads {
  public:
    virtual size_t count() const = 0;
    virtual pid_t id(size_t index) const = 0;
    virtual bool readContext(size_t index, crash::NativeContext& context) const = 0;

  protected:
    ~OtherThreads() = default;
};

// Writes a minidump into an open file: the system, the exception, the threads
// with their registers and the top of their stacks, every mapped ELF file with
// its build id, and the raw texts of the process's maps and status.
//
// Everything that needs memory is allocated by the constructor; the writing
// functions only make system calls and use the writer's own buffers, so they
// may run inside a signal handler or in a process it cloned. REQUIRES: one
// write at a time (the crash handler lets only one thread dump).
class MinidumpWriter {
  public:
    MinidumpWriter();
    ~MinidumpWriter();
    MinidumpWriter(const MinidumpWriter&) = delete;
    MinidumpWriter& operator=(const MinidumpWriter&) = delete;

    // Writes the dump of the crashing thread alone, from inside this process,
    // for the signal that `info` and `context` (the second and third arguments
    // of an SA_SIGINFO handler) describe, raised in the calling thread
    // `thread_id`. Returns false if some part could not be written; the file
    // then holds what was written.
    bool write(int fd, const siginfo_t& info, const ucontext_t* context, pid_t thread_id);

    // Writes the dump of every thread of the crashed process `process_id`
    // from a helper process that it cloned while handling the signal (so
    // `info` and `context` are at the same addresses in the helper's copy of
    // its memory): the crashing thread `thread_id` first, then `others`.
    bool writeFromHelper(int fd, const siginfo_t& info, const ucontext_t* context, pid_t process_id,
                         pid_t thread_id, const OtherThreads& others);

  private:
    struct Scratch;
    std::unique_ptr<Scratch> scratch_;
};

}  // namespace vanta
