#include "runtime/crash/crash_handler.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "runtime/crash/dump_helper_process.h"
#include "runtime/crash/minidump_writer.h"

namespace vanta {
namespace {

constexpr std::array<int, 6> kCrashSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};
constexpr size_t kSignalStackSize = 64 * 1024;
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx.dmp"
constexpr size_t kDumpFileNameLength = 36 + 4;
// "_" + the decimal pid + "_" added by the rename.
constexpr size_t kRenameExtraLength = 2 + 10;

pid_t currentThreadId() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

void sendToThread(pid_t thread_id, int signal_number) {
    syscall(SYS_tgkill, getpid(), thread_id, signal_number);
}

// Text of at most PATH_MAX - 1 characters, built without allocating so that
// the signal handler can use it. Appending past the end marks it invalid
// rather than cutting the path.
class PathBuffer {
  public:
    void append(const char* text, size_t length) {
        if (!valid_ || length >= text_.size() - size_) {
            valid_ = false;
            return;
        }
        memcpy(text_.data() + size_, text, length);
        size_ += length;
        text_[size_] = '\0';
    }
    void append(const char* text) { append(text, strlen(text)); }
    void appendDecimal(uint64_t value) {
        char digits[20];
        size_t count = 0;
        do {
            digits[sizeof digits - ++count] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        append(digits + sizeof digits - count, count);
    }
    void clear() {
        size_ = 0;
        valid_ = true;
        text_[0] = '\0';
    }

    bool valid() const { return valid_; }
    const char* c_str() const { return text_.data(); }

  private:
    std::array<char, PATH_MAX> text_{};
    size_t size_ = 0;
    bool valid_ = true;
};

uint64_t mix(uint64_t value) {
    value += 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

bool randomBytes(uint8_t* bytes, size_t size) {
#if defined(SYS_getrandom)
    constexpr unsigned kNonBlocking = 0x1;  // GRND_NONBLOCK
    return syscall(SYS_getrandom, bytes, size, kNonBlocking) == static_cast<long>(size);
#else
    (void)bytes;
    (void)size;
    return false;
#endif
}

// Appends a random version-4 UUID in its usual text form.
void appendUuid(PathBuffer& path) {
    uint8_t bytes[16];
    if (!randomBytes(bytes, sizeof bytes)) {
        // No entropy yet (early boot): the time and the thread are unique enough.
        static std::atomic<uint64_t> counter{0};
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        uint64_t seed =
            static_cast<uint64_t>(now.tv_sec) * 1000000000ULL + static_cast<uint64_t>(now.tv_nsec);
        seed ^= (static_cast<uint64_t>(getpid()) << 32) ^ static_cast<uint64_t>(currentThreadId());
        seed ^= counter.fetch_add(1) << 48;
        const uint64_t halves[2] = {mix(seed), mix(seed ^ 0x5555555555555555ULL)};
        memcpy(bytes, halves, sizeof bytes);
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0f) | 0x40);
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3f) | 0x80);

    constexpr char kHex[] = "0123456789abcdef";
    char text[36];
    size_t length = 0;
    for (size_t index = 0; index < sizeof bytes; ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10) {
            text[length++] = '-';
        }
        text[length++] = kHex[bytes[index] >> 4];
        text[length++] = kHex[bytes[index] & 0xf];
    }
    path.append(text, length);
}

// Where dumps go and what they are called: "<directory>/<uuid>.dmp".
class MinidumpDescriptor {
  public:
    explicit MinidumpDescriptor(const std::string& directory) : directory_(directory) {
        if (directory_.empty()) {
            throw std::invalid_argument("The crash dump directory must not be empty");
        }
        while (directory_.size() > 1 && directory_.back() == '/') {
            directory_.pop_back();
        }
        // Best effort: the daemon must start even where dumps cannot be kept.
        std::error_code ignored;
        std::filesystem::create_directories(directory_, ignored);
    }

    const std::string& directory() const { return directory_; }

    // Creates a new dump file and leaves its path in `path`. Returns its file
    // descriptor, or -1. Safe to call in a signal handler.
    int createDumpFile(PathBuffer& path) const {
        constexpr int kAttempts = 4;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            path.clear();
            path.append(directory_.data(), directory_.size());
            if (directory_ != "/") {
                path.append("/");
            }
            appendUuid(path);
            path.append(".dmp");
            if (!path.valid()) {
                return -1;
            }
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0 || errno != EEXIST) {
                return fd;
            }
        }
        return -1;
    }

  private:
    std::string directory_;
};

// The stack that the crash signals run on, so that a stack overflow can still
// be reported. It is mapped apart from the heap, below it lies a guard page.
// sigaltstack is per thread: this covers the thread that creates it, which
// for the daemon is the main thread. REQUIRES: destroyed by the same thread.
class SignalStack {
  public:
    SignalStack() {
        page_size_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        memory_ = mmap(nullptr, page_size_ + kSignalStackSize, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory_ == MAP_FAILED) {
            throw std::system_error(errno, std::generic_category(),
                                    "Cannot map the crash handler's signal stack");
        }
        mprotect(memory_, page_size_, PROT_NONE);
        stack_t stack{};
        stack.ss_sp = static_cast<char*>(memory_) + page_size_;
        stack.ss_size = kSignalStackSize;
        if (sigaltstack(&stack, &previous_) != 0) {
            const int error = errno;
            munmap(memory_, page_size_ + kSignalStackSize);
            throw std::system_error(error, std::generic_category(),
                                    "Cannot install the crash handler's signal stack");
        }
    }

    ~SignalStack() {
        stack_t current{};
        if (sigaltstack(nullptr, &current) == 0 &&
            current.ss_sp == static_cast<char*>(memory_) + page_size_) {
            sigaltstack(&previous_, nullptr);
        }
        munmap(memory_, page_size_ + kSignalStackSize);
    }

    SignalStack(const SignalStack&) = delete;
    SignalStack& operator=(const SignalStack&) = delete;

  private:
    size_t page_size_ = 0;
    void* memory_ = nullptr;
    stack_t previous_{};
};

class ExceptionHandler;

// The one exception handler of the process; the signal handler finds it here.
std::atomic<ExceptionHandler*> g_exception_handler{nullptr};
// The thread writing a dump, 0 while none is.
std::atomic<pid_t> g_dumping_thread{0};
static_assert(std::atomic<ExceptionHandler*>::is_always_lock_free);
static_assert(std::atomic<pid_t>::is_always_lock_free);

// Claims the process-wide slot for the lifetime of the handler.
class ExclusiveInstallation {
  public:
    explicit ExclusiveInstallation(ExceptionHandler* handler) {
        ExceptionHandler* none = nullptr;
        if (!g_exception_handler.compare_exchange_strong(none, handler)) {
            throw std::runtime_error(
                "A crash handler is already installed in this process; destroy it first");
        }
    }
    ~ExclusiveInstallation() { g_exception_handler.store(nullptr); }
    ExclusiveInstallation(const ExclusiveInstallation&) = delete;
    ExclusiveInstallation& operator=(const ExclusiveInstallation&) = delete;
};

// Called in the crashing thread once a dump has been written, with its path,
// the context given at installation and whether the dump was complete.
// Returns that flag, possibly changed.
using DumpCallback = bool (*)(const char* dump_path, void* context, bool succeeded);

// Writes a minidump when one of the crash signals arrives (of every thread
// through a helper process, else of the crashing thread from inside the
// process), hands it to the callback, and then lets the signal kill the
// process as it would have without the handler.
class ExceptionHandler {
  public:
    ExceptionHandler(const MinidumpDescriptor& descriptor, DumpCallback callback,
                     void* callback_context)
        : installation_(this),
          descriptor_(descriptor),
          callback_(callback),
          callback_context_(callback_context) {
        for (size_t index = 0; index < kCrashSignals.size(); ++index) {
            struct sigaction action {};
            action.sa_sigaction = &ExceptionHandler::handleSignal;
            action.sa_flags = SA_SIGINFO | SA_ONSTACK;
            sigemptyset(&action.sa_mask);
            if (sigaction(kCrashSignals[index], &action, &previous_actions_[index]) != 0) {
                const int error = errno;
                restorePreviousActions(index, false);
                throw std::system_error(error, std::generic_category(),
                                        "Cannot install the crash signal handlers");
            }
        }
    }

    ~ExceptionHandler() { restorePreviousActions(kCrashSignals.size(), false); }

    ExceptionHandler(const ExceptionHandler&) = delete;
    ExceptionHandler& operator=(const ExceptionHandler&) = delete;

  private:
    static void handleSignal(int signal_number, siginfo_t* info, void* context) {
        const int saved_errno = errno;
        const pid_t thread_id = currentThreadId();
        ExceptionHandler* handler = g_exception_handler.load();
        pid_t dumping_thread = 0;
        if (handler == nullptr ||
            !g_dumping_thread.compare_exchange_strong(dumping_thread, thread_id)) {
            // A crash while dumping. In the dumping thread itself the dump is
            // lost; another thread first gives the dump time to finish, and the
            // process normally dies by the first signal while it waits.
            if (handler != nullptr && dumping_thread != thread_id) {
                waitForDumpingThread();
            }
            signal(signal_number, SIG_DFL);
            sendToThread(thread_id, signal_number);
            errno = saved_errno;
            return;
        }
        handler->writeMinidump(*info, static_cast<const ucontext_t*>(context), thread_id);
        handler->restorePreviousActions(kCrashSignals.size(), true);
        // The signal is blocked until this handler returns; then the previous
        // action (normally the default: terminate) takes it.
        sendToThread(thread_id, signal_number);
        errno = saved_errno;
    }

    static void waitForDumpingThread() {
        constexpr int kPolls = 500;
        const timespec pause{0, 10 * 1000 * 1000};
        for (int poll = 0; poll < kPolls; ++poll) {
            nanosleep(&pause, nullptr);
        }
    }

    void writeMinidump(const siginfo_t& info, const ucontext_t* context, pid_t thread_id) {
        const int fd = descriptor_.createDumpFile(dump_path_);
        if (fd < 0) {
            return;
        }
        // Every thread through a helper process; where it cannot trace this
        // process (a sandbox, a debugger attached) the crashing thread alone.
        bool written = helper_.writeDump(fd, info, context, thread_id);
        if (!written) {
            written = ftruncate(fd, 0) == 0 && writer_.write(fd, info, context, thread_id);
        }
        close(fd);
        callback_(dump_path_.c_str(), callback_context_, written);
    }

    // Puts back the actions found at installation for the first `count`
    // signals. While crashing, an ignored signal is set to its default
    // instead, so that the process still dies by it.
    void restorePreviousActions(size_t count, bool crashing) {
        for (size_t index = 0; index < count; ++index) {
            struct sigaction action = previous_actions_[index];
            if (crashing && (action.sa_flags & SA_SIGINFO) == 0 && action.sa_handler == SIG_IGN) {
                action.sa_handler = SIG_DFL;
            }
            sigaction(kCrashSignals[index], &action, nullptr);
        }
    }

    ExclusiveInstallation installation_;
    const MinidumpDescriptor& descriptor_;
    DumpCallback callback_;
    void* callback_context_;
    MinidumpWriter writer_;
    crash::DumpHelperProcess helper_{writer_};
    PathBuffer dump_path_;
    SignalStack signal_stack_;
    std::array<struct sigaction, kCrashSignals.size()> previous_actions_{};
};

// Writes minidumps in-process when the daemon crashes and renames each dump
// after the process: "<name>_<pid>_<file name>" in the dump directory.
class BreakPadHandler final : public CrashHandler {
  public:
    BreakPadHandler(const std::string& name, const std::string& dump_directory)
        : name_(checkedName(name, dump_directory)),
          descriptor_(dump_directory),
          exception_handler_(descriptor_, &BreakPadHandler::onDumpWritten, &name_) {}

  private:
    // The renamed dump's path must fit the handler's fixed buffers.
    static const std::string& checkedName(const std::string& name,
                                          const std::string& dump_directory) {
        if (dump_directory.size() + 1 + name.size() + kRenameExtraLength + kDumpFileNameLength >=
            PATH_MAX) {
            throw std::invalid_argument("The crash dump path for '" + name + "' in '" +
                                        dump_directory + "' is too long");
        }
        return name;
    }

    // Runs in the crashing thread: only builds a path and renames one file.
    static bool onDumpWritten(const char* dump_path, void* context, bool succeeded) {
        const auto& name = *static_cast<const std::string*>(context);
        const char* slash = strrchr(dump_path, '/');
        if (slash == nullptr) {
            return succeeded;
        }
        PathBuffer renamed;
        renamed.append(dump_path, static_cast<size_t>(slash - dump_path) + 1);
        renamed.append(name.data(), name.size());
        renamed.append("_");
        renamed.appendDecimal(static_cast<uint64_t>(getpid()));
        renamed.append("_");
        renamed.append(slash + 1);
        if (renamed.valid()) {
            // A failed rename leaves the dump under its own name.
            rename(dump_path, renamed.c_str());
        }
        return succeeded;
    }

    std::string name_;
    MinidumpDescriptor descriptor_;
    ExceptionHandler exception_handler_;
};

}  // namespace

std::unique_ptr<CrashHandler> getCrashHandler(const std::string& name,
                                              const std::string& dump_directory) {
    return std::make_unique<BreakPadHandler>(name, dump_directory);
}

}  // namespace vanta
