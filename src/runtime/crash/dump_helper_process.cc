#include "runtime/crash/dump_helper_process.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <system_error>

#include "runtime/crash/signal_safe_io.h"
#include "runtime/crash/thread_lister.h"

namespace vanta::crash {

namespace {

constexpr size_t kHelperStackSize = 256 * 1024;
// Threads started while the helper stops the others are looked for again,
// a few times at most.
constexpr int kListingPasses = 4;
// A helper that has not finished by then is killed; the crashing thread
// writes its own dump instead.
constexpr long kHelperTimeLimitMs = 20 * 1000;
constexpr long kPollIntervalMs = 2;

// The helper's exit status.
enum HelperExit : int {
    kDumpWritten = 0,
    kWriteFailed = 1,
    kTracingRefused = 2,
    kNotReleased = 3,
};

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};

void sleepMilliseconds(long milliseconds) {
    const timespec pause{0, milliseconds * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

// The helper's exit status, or -1 when it failed, stalled or could not be
// waited for.
int waitForHelper(pid_t helper) {
    for (long waited_ms = 0; waited_ms < kHelperTimeLimitMs; waited_ms += kPollIntervalMs) {
        int status = 0;
        const pid_t result = waitpid(helper, &status, __WALL | WNOHANG);
        if (result == helper) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (result < 0 && errno != EINTR) {
            return -1;
        }
        sleepMilliseconds(kPollIntervalMs);
    }
    // Killing the tracer lets every thread it stopped go.
    kill(helper, SIGKILL);
    while (waitpid(helper, nullptr, __WALL) < 0 && errno == EINTR) {
    }
    return -1;
}

}  // namespace

DumpHelperProcess::DumpHelperProcess(MinidumpWriter& writer) : writer_(writer) {
    guard_size_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    mapped_size_ = guard_size_ + kHelperStackSize;
    stack_ =
        mmap(nullptr, mapped_size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (stack_ == MAP_FAILED) {
        throw std::system_error(errno, std::generic_category(),
                                "Cannot map the crash dump helper's stack");
    }
    // Stacks grow down: the guard page lies below.
    mprotect(stack_, guard_size_, PROT_NONE);
}

DumpHelperProcess::~DumpHelperProcess() {
    munmap(stack_, mapped_size_);
}

bool DumpHelperProcess::writeDump(int fd, const siginfo_t& info, const ucontext_t* context,
                                  pid_t thread_id) {
    int release[2];
    if (pipe2(release, O_CLOEXEC) != 0) {
        return false;
    }
    fd_ = fd;
    release_read_fd_ = release[0];
    release_write_fd_ = release[1];
    info_ = &info;
    context_ = context;
    process_id_ = getpid();
    thread_id_ = thread_id;

    // No CLONE_VM: the helper works in a copy of this memory and cannot
    // disturb the crashed process. Exit signal 0: no SIGCHLD for the process,
    // whose SIGCHLD handling is its own; waited for with __WALL.
    void* stack_top = static_cast<char*>(stack_) + mapped_size_;
    const pid_t helper = clone(&DumpHelperProcess::helperMain, stack_top, CLONE_UNTRACED, this);
    close(release[0]);
    if (helper < 0) {
        close(release[1]);
        return false;
    }
    // Where tracing is limited to ancestors (Yama), let the helper trace us;
    // elsewhere this fails and nothing is needed.
    prctl(PR_SET_PTRACER, static_cast<unsigned long>(helper), 0UL, 0UL, 0UL);
    const char go = 1;
    const bool released = write(release[1], &go, sizeof go) == sizeof go;
    close(release[1]);
    const int status = waitForHelper(helper);
    return released && status == kDumpWritten;
}

int DumpHelperProcess::helperMain(void* self) {
    // A fault in the helper must end the helper only (the crashed process
    // then writes its own dump), not run the crashed process's handler.
    for (const int signal_number : kCrashSignals) {
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        sigaction(signal_number, &action, nullptr);
    }
    auto& helper = *static_cast<DumpHelperProcess*>(self);
    // Released once allowed to trace; a crashed process that closes the pipe
    // without a word ends the helper.
    close(helper.release_write_fd_);
    char go = 0;
    if (readRetrying(helper.release_read_fd_, &go, sizeof go) != sizeof go) {
        return kNotReleased;
    }
    close(helper.release_read_fd_);
    return helper.dumpEveryThread();
}

int DumpHelperProcess::dumpEveryThread() {
    bool refused = false;
    stopOtherThreads(refused);
    if (refused && stopped_count_ == 0) {
        return kTracingRefused;
    }
    const bool written =
        writer_.writeFromHelper(fd_, *info_, context_, process_id_, thread_id_, *this);
    for (size_t index = 0; index < stopped_count_; ++index) {
        resumeThread(stopped_[index]);
    }
    return written ? kDumpWritten : kWriteFailed;
}

void DumpHelperProcess::stopOtherThreads(bool& refused) {
    stopped_count_ = 0;
    for (int pass = 0; pass < kListingPasses && stopped_count_ < kMaxThreads; ++pass) {
        const size_t listed = listThreads(process_id_, listed_.data(), listed_.size());
        bool found_new = false;
        for (size_t index = 0; index < listed && stopped_count_ < kMaxThreads; ++index) {
            const pid_t id = listed_[index];
            // The crashing thread waits for the helper; its registers are
            // the signal's.
            if (id == thread_id_ || isStopped(id)) {
                continue;
            }
            found_new = true;
            switch (stopThread(id, stopped_[stopped_count_])) {
                case StopResult::kStopped:
                    ++stopped_count_;
                    break;
                case StopResult::kRefused:
                    refused = true;
                    break;
                case StopResult::kGone:
                    break;
            }
        }
        if (!found_new || (refused && stopped_count_ == 0)) {
            break;
        }
    }
}

bool DumpHelperProcess::isStopped(pid_t id) const {
    for (size_t index = 0; index < stopped_count_; ++index) {
        if (stopped_[index].id == id) {
            return true;
        }
    }
    return false;
}

bool DumpHelperProcess::readContext(size_t index, NativeContext& context) const {
    return readThreadContext(stopped_[index], context);
}

}  // namespace vanta::crash
