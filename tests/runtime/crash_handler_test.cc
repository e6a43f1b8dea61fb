#include "runtime/crash/crash_handler.h"

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/data_files.h"
#include "support/running_program.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "tools/dumpreader/dump_summary.h"
#include "tools/dumpreader/minidump_reader.h"

namespace vanta {
namespace {

namespace fs = std::filesystem;

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};
constexpr uint64_t kStackMarker = 0x5eedfacecafef00dULL;
constexpr uintptr_t kFaultAddress = 0x48;
constexpr int kChildSetupFailed = 77;

using dumpreader::DumpModule;
using dumpreader::DumpThread;

bool holdsStackMarker(const std::vector<uint8_t>& memory) {
    const auto* marker = reinterpret_cast<const uint8_t*>(&kStackMarker);
    return std::search(memory.begin(), memory.end(), marker, marker + sizeof kStackMarker) !=
           memory.end();
}

fs::path executablePath() {
    return fs::read_symlink("/proc/self/exe");
}

// Crashes in this executable's own code, writing a field of a struct at
// null, with a marker value in its frame. The undefined-behaviour sanitizer
// would only report the store, not stop it.
__attribute__((noinline, no_sanitize("undefined"))) void writeThroughNullPointer() {
    volatile uint64_t marker = kStackMarker;
    volatile int* volatile field = reinterpret_cast<int*>(kFaultAddress);
    *field = static_cast<int>(marker);
}

struct ChildOutcome {
    pid_t pid = 0;
    int status = 0;
    // Every thread the child reported; the last one is about to crash.
    std::vector<pid_t> reported_threads;
    // The last one reported, else the main thread.
    pid_t crashed_thread = 0;
    // How many threads the child had just before the crash: the reported ones
    // and any a sanitizer runs of its own.
    size_t threads_at_crash = 0;
};

// Runs `body` in a child process whose crash signals start at their default
// actions (whatever the test runner or a sanitizer installed) and which writes
// no core file. `body` may report threads through the pipe it is given, the
// one that is about to crash (if not the main thread) last, and its count of
// threads as a negative number.
template <typename Body>
ChildOutcome runChild(Body body) {
    int report[2];
    if (pipe(report) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        close(report[0]);
        const rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        for (int signal_number : kCrashSignals) {
            signal(signal_number, SIG_DFL);
        }
        try {
            body(report[1]);
        } catch (...) {
            _exit(kChildSetupFailed);
        }
        _exit(0);
    }
    close(report[1]);
    ChildOutcome outcome;
    outcome.pid = pid;
    pid_t thread_id = 0;
    while (read(report[0], &thread_id, sizeof thread_id) == sizeof thread_id) {
        if (thread_id < 0) {
            outcome.threads_at_crash = static_cast<size_t>(-thread_id);
        } else {
            outcome.reported_threads.push_back(thread_id);
        }
    }
    outcome.crashed_thread =
        outcome.reported_threads.empty() ? pid : outcome.reported_threads.back();
    close(report[0]);
    waitpid(pid, &outcome.status, 0);
    return outcome;
}

pid_t currentThreadId() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

void reportThread(int report_fd, pid_t thread_id = currentThreadId()) {
    if (write(report_fd, &thread_id, sizeof thread_id) != sizeof thread_id) {
        _exit(kChildSetupFailed);
    }
}

void reportThreadCount(int report_fd) {
    const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
    reportThread(report_fd, -static_cast<pid_t>(std::distance(begin(tasks), end(tasks))));
}

void reportAndCrash(int report_fd) {
    reportThreadCount(report_fd);
    writeThroughNullPointer();
}

// Threads parked until the process ends, each in a function of its own so
// that a backtrace names it: "parkedInSpot<1>" and so on. The bodies differ,
// so that the linker cannot fold them into one.
std::atomic<int> g_left_parking{0};

__attribute__((noinline)) void blockReading(int fd) {
    char byte;
    if (read(fd, &byte, 1) < 0) {
        _exit(kChildSetupFailed);
    }
}
template <int spot>
__attribute__((noinline)) void parkedInSpot(int fd) {
    blockReading(fd);
    g_left_parking += spot;
}
constexpr void (*kParkingSpots[])(int) = {&parkedInSpot<1>, &parkedInSpot<2>, &parkedInSpot<3>,
                                          &parkedInSpot<4>};

// Whether the thread sleeps in the kernel: its state in its stat line is "S".
bool isSleeping(pid_t thread_id) {
    const std::string stat =
        testing::read_text("/proc/self/task/" + std::to_string(thread_id) + "/stat");
    const size_t end_of_name = stat.rfind(')');
    return end_of_name != std::string::npos && end_of_name + 2 < stat.size() &&
           stat[end_of_name + 2] == 'S';
}

// Parks one thread in each parking spot and reports them in that order once
// each sleeps in its read; then a further thread (reported last) runs
// `prepare` and crashes by a null write while the main thread waits for it.
// Never returns.
void crashAmongParkedThreads(
    int report, void (*prepare)() = [] {}) {
    int parking[2];
    if (pipe(parking) != 0) {
        _exit(kChildSetupFailed);
    }
    std::array<std::atomic<pid_t>, std::size(kParkingSpots)> parked{};
    std::vector<std::thread> threads;
    for (size_t index = 0; index < std::size(kParkingSpots); ++index) {
        threads.emplace_back([&parked, &parking, index] {
            parked[index] = currentThreadId();
            kParkingSpots[index](parking[0]);
        });
    }
    for (auto& thread_id : parked) {
        const auto asleep = [&thread_id] { return thread_id != 0 && isSleeping(thread_id); };
        if (!testing::wait_until(asleep, std::chrono::seconds(5))) {
            _exit(kChildSetupFailed);
        }
        reportThread(report, thread_id);
    }
    std::thread crashing([report, prepare] {
        reportThreadCount(report);
        reportThread(report);
        prepare();
        writeThroughNullPointer();
    });
    crashing.join();
    _exit(kChildSetupFailed);
}

// Whether this process may trace a child of its own (not so under some
// sandboxes and emulators).
bool ptraceAllowedHere() {
    const pid_t child = fork();
    if (child == 0) {
        pause();
        _exit(0);
    }
    const bool allowed = ptrace(PTRACE_SEIZE, child, nullptr, nullptr) == 0;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return allowed;
}

// Makes every call of the system call `number` by this thread and the
// processes it clones fail with EPERM, as a sandbox does.
template <long number>
void refuseSystemCall() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(number), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        _exit(kChildSetupFailed);
    }
}

// Whether a child process can install a system-call filter (an emulator
// may not let it).
bool seccompAvailable() {
    const int status = runChild([](int) { refuseSystemCall<SYS_ptrace>(); }).status;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// What lldb prints for the dump's threads: thread id -> that thread's
// backtrace, read against this executable.
std::map<uint32_t, std::string> lldbBacktraces(const fs::path& dump) {
    // Each thread's frames follow a line "@tid <id>".
    testing::RunningProgram lldb({"/usr/bin/lldb", "--batch", "--no-lldbinit", "--core",
                                  dump.string(), executablePath().string(), "-o",
                                  "settings set thread-stop-format \"@tid ${thread.id%tid}\\n\"",
                                  "-o", "bt all"});
    const auto status = lldb.wait_for_exit(std::chrono::seconds(60));
    const std::string text = lldb.output();
    const size_t frames_begin = text.find("(lldb) bt all\n");
    if (status != 0 || frames_begin == std::string::npos) {
        throw std::runtime_error("lldb (scripts/install-deps.sh installs it) failed:\n" + text);
    }
    std::map<uint32_t, std::string> backtraces;
    for (size_t at = text.find("@tid ", frames_begin); at != std::string::npos;) {
        const size_t next = text.find("@tid ", at + 1);
        backtraces[static_cast<uint32_t>(std::stoul(text.substr(at + 5)))] =
            text.substr(at, next - at);
        at = next;
    }
    return backtraces;
}

// "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx.dmp", a random UUID in lower-case hex.
bool isUuidDumpName(const std::string& name) {
    static const std::regex uuid(
        "[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\.dmp");
    return std::regex_match(name, uuid);
}

class CrashHandlerTest : public ::testing::Test {
  protected:
    // Runs `body` in a child with the handler of the process `name` installed,
    // expects it to be killed by `signal_number` and to leave one dump of that
    // signal in the crashing thread, and reads the dump.
    template <typename Body>
    void crash(int signal_number, Body body, const std::string& name = "vantaapid") {
        fs::remove_all(dumps_);
        outcome_ = runChild([&](int report) {
            auto handler = getCrashHandler(name, dumps_.string());
            body(report);
        });
        ASSERT_TRUE(WIFSIGNALED(outcome_.status)) << "exit status " << WEXITSTATUS(outcome_.status);
        ASSERT_EQ(WTERMSIG(outcome_.status), signal_number);
        const std::vector<fs::path> files{fs::directory_iterator(dumps_), fs::directory_iterator()};
        ASSERT_EQ(files.size(), 1u);
        dump_path_ = files[0];
        dump_ = dumpreader::read_minidump(dump_path_);
        EXPECT_EQ(dump_.exception_code, static_cast<uint32_t>(signal_number));
        EXPECT_EQ(dump_.exception_thread, static_cast<uint32_t>(outcome_.crashed_thread));
        expectWhatEveryDumpHolds();
    }

    // The system (the reader checks the header); the threads, the crashing
    // one first, each with its registers and its own stack, which covers its
    // stack pointer and is in the memory list; the modules, with the
    // executable and the C library carrying build ids (whose bytes are the
    // reader's, crash_parsers_test); the process's maps and status.
    void expectWhatEveryDumpHolds() {
#if defined(__x86_64__)
        EXPECT_EQ(dump_.architecture, 9);  // AMD64
#elif defined(__arm__)
        EXPECT_EQ(dump_.architecture, 5);  // ARM
#endif
        EXPECT_EQ(dump_.processors, std::min(sysconf(_SC_NPROCESSORS_CONF), 255L));
        EXPECT_EQ(dump_.platform, 0x8201u);  // Linux

        ASSERT_FALSE(dump_.threads.empty());
        EXPECT_EQ(dump_.threads[0].id, dump_.exception_thread);
        EXPECT_EQ(dump_.exception_context.rva, dump_.threads[0].context.rva);
        EXPECT_EQ(dump_.exception_context.size, dump_.threads[0].context.size);
        EXPECT_EQ(dump_.memory_ranges.size(), dump_.threads.size());
        for (const DumpThread& thread : dump_.threads) {
            SCOPED_TRACE("thread " + std::to_string(thread.id));
            ASSERT_FALSE(thread.stack.empty());
            EXPECT_LE(thread.stack.size(), 32u * 1024u + 128u);
            const std::pair<uint64_t, uint32_t> range{thread.stack_start, thread.stack.size()};
            EXPECT_NE(std::find(dump_.memory_ranges.begin(), dump_.memory_ranges.end(), range),
                      dump_.memory_ranges.end());
#if defined(__x86_64__) || defined(__arm__)
            ASSERT_TRUE(thread.stack_pointer.has_value());
            ASSERT_TRUE(thread.instruction_pointer.has_value());
            EXPECT_GE(*thread.stack_pointer, thread.stack_start);
            EXPECT_LT(*thread.stack_pointer - thread.stack_start, thread.stack.size());
#endif
        }

        const std::string executable = executablePath().string();
        for (size_t index = 0; index < dump_.modules.size(); ++index) {
            const DumpModule& module = dump_.modules[index];
            EXPECT_FALSE(module.name.empty());
            EXPECT_GT(module.size, 0u) << module.name;
            if (index > 0) {
                const DumpModule& previous = dump_.modules[index - 1];
                EXPECT_GE(module.base, previous.base + previous.size)
                    << "modules overlap: " << previous.name << " and " << module.name;
            }
        }
        for (const std::string& name : {executable, std::string("/libc.so")}) {
            EXPECT_TRUE(std::any_of(dump_.modules.begin(), dump_.modules.end(),
                                    [&name](const DumpModule& module) {
                                        return module.name.find(name) != std::string::npos &&
                                               !module.build_id.empty();
                                    }))
                << name;
        }

        EXPECT_NE(dump_.maps.find(executable), std::string::npos);
        EXPECT_NE(dump_.maps.find("[stack]"), std::string::npos);
        ASSERT_FALSE(dump_.maps.empty());
        EXPECT_EQ(dump_.maps.back(), '\n');
        EXPECT_NE(dump_.status.find("\nPid:\t" + std::to_string(outcome_.pid) + "\n"),
                  std::string::npos);
    }

    testing::TempDir temp_;
    fs::path dumps_ = temp_.path() / "dumps";
    ChildOutcome outcome_;
    fs::path dump_path_;
    dumpreader::Minidump dump_;
};

// A fault in this executable's code: the dump is named after the process and
// holds the fault and the stack of the crashing frame (not the signal
// stack's), in a directory the handler creates.
TEST_F(CrashHandlerTest, SegfaultIsDumpedUnderTheProcessNameInACreatedDirectory) {
    dumps_ = temp_.path() / "crashlog" / "dumpfiles";
    ASSERT_NO_FATAL_FAILURE(crash(SIGSEGV, &reportAndCrash));

    const std::string name = dump_path_.filename().string();
    const std::string prefix = "vantaapid_" + std::to_string(outcome_.pid) + "_";
    ASSERT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(isUuidDumpName(name.substr(prefix.size()))) << name;

    EXPECT_EQ(dump_.exception_flags, static_cast<uint32_t>(SEGV_MAPERR));
    EXPECT_EQ(dump_.exception_address, kFaultAddress);
    ASSERT_EQ(dump_.threads.size(), outcome_.threads_at_crash);
    const DumpThread& thread = dump_.threads[0];
    EXPECT_EQ(thread.id, static_cast<uint32_t>(outcome_.pid));
    EXPECT_TRUE(holdsStackMarker(thread.stack));
#if defined(__x86_64__) || defined(__arm__)
    // The module of the crashing instruction, and what the dump tool tells of
    // the crash.
    const DumpModule* crashed_in = dump_.module_at(thread.instruction_pointer.value());
    ASSERT_NE(crashed_in, nullptr) << std::hex << *thread.instruction_pointer;
    EXPECT_EQ(crashed_in->name, executablePath().string());
    const std::string summary = dumpreader::summarize(dump_);
    const std::string pid = std::to_string(outcome_.pid);
    for (const std::string& part :
         {"crash: SIGSEGV (11), code 1, fault address 0x48, in thread " + pid,
          "\n  " + pid + " (crashed): at " + crashed_in->name + "+0x",
          "process " + executablePath().filename().string().substr(0, 15) + " (pid " + pid + ")"}) {
        EXPECT_NE(summary.find(part), std::string::npos) << part << " in\n" << summary;
    }
#endif
    // A file that is not a dump, one whose thread list claims more than the
    // file holds, and one cut short are refused.
    EXPECT_THROW(dumpreader::read_minidump(executablePath()), std::runtime_error);
    std::string bytes = testing::read_text(dump_path_);
    const auto at = [&bytes](uint32_t offset) {
        uint32_t value;
        memcpy(&value, &bytes.at(offset + 3) - 3, sizeof value);
        return value;
    };
    const auto set = [&bytes](uint32_t offset, uint32_t value) {
        memcpy(&bytes.at(offset + 3) - 3, &value, sizeof value);
    };
    for (uint32_t entry = at(12); entry < at(12) + 12 * at(8); entry += 12) {
        if (at(entry) == dumpreader::kThreadListStream) {
            set(at(entry + 8), 50'000'000);
            set(entry + 4, 4 + 48u * 50'000'000);
        }
    }
    testing::write_text(temp_.path() / "claims.dmp", bytes);
    EXPECT_THROW(dumpreader::read_minidump(temp_.path() / "claims.dmp"), std::runtime_error);
    fs::resize_file(dump_path_, fs::file_size(dump_path_) / 2);
    EXPECT_THROW(dumpreader::read_minidump(dump_path_), std::runtime_error);
}

// Every crash signal, raised by the process itself: such a signal has no
// fault address (those bytes hold the sender's pid and uid). The renamed
// dump would lie in a directory that does not exist: the dump keeps its own
// name.
TEST_F(CrashHandlerTest, EveryCrashSignalIsDumpedAndAFailedRenameKeepsTheDumpsOwnName) {
    for (const int signal_number : kCrashSignals) {
        SCOPED_TRACE(strsignal(signal_number));
        const auto raiseIt = [signal_number](int) { raise(signal_number); };
        ASSERT_NO_FATAL_FAILURE(crash(signal_number, raiseIt, "missing/vantaapid"));
        EXPECT_EQ(dump_.exception_address, 0u);
        EXPECT_TRUE(isUuidDumpName(dump_path_.filename().string())) << dump_path_;
    }
}

// A crash in one thread of many: the dump holds every thread, and lldb tells
// from it where each thread was.
TEST_F(CrashHandlerTest, CrashInAWorkerDumpsEveryThreadForADebugger) {
    if (!ptraceAllowedHere()) {
        GTEST_SKIP() << "ptrace is refused here; dumps hold the crashing thread alone";
    }
    ASSERT_NO_FATAL_FAILURE(crash(SIGSEGV, [](int report) { crashAmongParkedThreads(report); }));
    ASSERT_EQ(outcome_.reported_threads.size(), std::size(kParkingSpots) + 1);

    // Every thread of the child and the function it was in.
    std::map<uint32_t, std::string> function_by_id = {
        {static_cast<uint32_t>(outcome_.pid), "crashAmongParkedThreads"},
        {static_cast<uint32_t>(outcome_.crashed_thread), "writeThroughNullPointer"}};
    for (size_t index = 0; index < std::size(kParkingSpots); ++index) {
        function_by_id[static_cast<uint32_t>(outcome_.reported_threads[index])] =
            "parkedInSpot<" + std::to_string(index + 1) + ">";
    }
    std::set<uint32_t> dumped_ids;
    for (const DumpThread& thread : dump_.threads) {
        dumped_ids.insert(thread.id);
    }
    EXPECT_EQ(dumped_ids.size(), outcome_.threads_at_crash);
    const auto backtraces = lldbBacktraces(dump_path_);
    const std::string all_backtraces = ::testing::PrintToString(backtraces);
    EXPECT_EQ(backtraces.size(), outcome_.threads_at_crash) << all_backtraces;
    for (const auto& [id, function] : function_by_id) {
        EXPECT_EQ(dumped_ids.count(id), 1u) << id;
        ASSERT_EQ(backtraces.count(id), 1u) << all_backtraces;
        EXPECT_NE(backtraces.at(id).find(function), std::string::npos)
            << function << " in " << all_backtraces;
    }
}

// Without a helper that traces the threads, the crashing thread dumps itself.
TEST_F(CrashHandlerTest, NoTracingHelperStillLeavesADumpOfTheCrashingThread) {
    if (!seccompAvailable()) {
        GTEST_SKIP() << "no system-call filters here to refuse ptrace and clone with";
    }
    const std::pair<const char*, void (*)()> rows[] = {
        {"ptrace refused", &refuseSystemCall<SYS_ptrace>},
        {"no helper process", &refuseSystemCall<SYS_clone>},
    };
    for (const auto& [what, refuse] : rows) {
        SCOPED_TRACE(what);
        ASSERT_NO_FATAL_FAILURE(crash(
            SIGSEGV, [refuse = refuse](int report) { crashAmongParkedThreads(report, refuse); }));
        ASSERT_EQ(dump_.threads.size(), 1u);
        EXPECT_TRUE(holdsStackMarker(dump_.threads[0].stack));
    }
}

void markerHandler(int) {}

// Installing takes every crash signal over; destroying gives each back its
// earlier action (for SIGBUS a handler of the test's own).
TEST_F(CrashHandlerTest, OneHandlerAtATimeForADirectoryAndDestructionRestoresPreviousActions) {
    const auto handlerOf = [](int signal_number) {
        struct sigaction action {};
        sigaction(signal_number, nullptr, &action);
        return action.sa_handler;
    };
    struct sigaction marker {};
    marker.sa_handler = &markerHandler;
    sigemptyset(&marker.sa_mask);
    struct sigaction original_bus {};
    ASSERT_EQ(sigaction(SIGBUS, &marker, &original_bus), 0);
    std::map<int, void (*)(int)> earlier;
    for (const int signal_number : kCrashSignals) {
        earlier[signal_number] = handlerOf(signal_number);
    }

    auto first = getCrashHandler("vantaapid", dumps_.string());
    for (const int signal_number : kCrashSignals) {
        EXPECT_NE(handlerOf(signal_number), earlier[signal_number]) << strsignal(signal_number);
    }
    EXPECT_THROW(getCrashHandler("vantaapid", dumps_.string()), std::runtime_error);
    first.reset();
    for (const int signal_number : kCrashSignals) {
        EXPECT_EQ(handlerOf(signal_number), earlier[signal_number]) << strsignal(signal_number);
    }
    EXPECT_NO_THROW(getCrashHandler("vantaapid", dumps_.string()).reset());
    EXPECT_THROW(getCrashHandler("vantaapid", ""), std::invalid_argument);

    sigaction(SIGBUS, &original_bus, nullptr);
}

}  // namespace
}  // namespace vanta
