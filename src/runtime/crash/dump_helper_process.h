#pragma once

#include <signal.h>
#include <sys/types.h>
#include <ucontext.h>

#include <array>
#include <cstddef>

#include "runtime/crash/minidump_writer.h"
#include "runtime/crash/ptrace_thread_reader.h"

namespace vanta::crash {

// Writes the dump of every thread from a helper process that the crashing
// thread clones: the helper stops each other thread of the crashed process
// with ptrace, reads its registers and stack, writes the dump and lets the
// threads go. The crashing thread waits for it meanwhile.
//
// The helper runs on a stack mapped here at construction, in a copy of the
// crashed process's memory (no memory is shared), and like the crashing
// thread makes system calls only. REQUIRES: one writeDump() at a time.
class DumpHelperProcess : private OtherThreads {
  public:
    // The most threads a dump lists; later ones are left out.
    static constexpr size_t kMaxThreads = 2048;

    explicit DumpHelperProcess(MinidumpWriter& writer);
    ~DumpHelperProcess();
    DumpHelperProcess(const DumpHelperProcess&) = delete;
    DumpHelperProcess& operator=(const DumpHelperProcess&) = delete;

    // Called by the crashing thread `thread_id` in its signal handler with the
    // handler's arguments. True when the helper wrote the whole dump into
    // `fd`; false when it could not (ptrace refused, no helper, a fault or a
    // stall in the helper), and the file then holds whatever it wrote.
    bool writeDump(int fd, const siginfo_t& info, const ucontext_t* context, pid_t thread_id);

  private:
    static int helperMain(void* self);
    int dumpEveryThread();
    void stopOtherThreads(bool& refused);
    bool isStopped(pid_t id) const;

    size_t count() const override { return stopped_count_; }
    pid_t id(size_t index) const override { return stopped_[index].id; }
    bool readContext(size_t index, NativeContext& context) const override;

    MinidumpWriter& writer_;
    void* stack_ = nullptr;
    size_t mapped_size_ = 0;
    size_t guard_size_ = 0;

    // What the helper is to dump, set by writeDump() before it clones.
    int fd_ = -1;
    int release_read_fd_ = -1;
    int release_write_fd_ = -1;
    const siginfo_t* info_ = nullptr;
    const ucontext_t* context_ = nullptr;
    pid_t process_id_ = 0;
    pid_t thread_id_ = 0;

    // The helper's lists (in its own copy of this object).
    std::array<pid_t, kMaxThreads> listed_{};
    std::array<StoppedThread, kMaxThreads> stopped_{};
    size_t stopped_count_ = 0;
};

}  // namespace vanta::crash
