#include "runtime/crash/crash_handler.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vanta {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kThreadListStream = 3;
constexpr uint32_t kModuleListStream = 4;
constexpr uint32_t kMemoryListStream = 5;
constexpr uint32_t kExceptionStream = 6;
constexpr uint32_t kSystemInfoStream = 7;
constexpr uint32_t kLinuxProcStatusStream = 0x47670004;
constexpr uint32_t kLinuxMapsStream = 0x47670009;

constexpr uint64_t kStackMarker = 0x5eedfacecafef00dULL;
constexpr int kChildSetupFailed = 77;

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian fields of the dump, every read checked against its end.
struct Bytes {
    std::vector<uint8_t> data;

    template <typename T>
    T get(uint64_t offset) const {
        T value;
        memcpy(&value, slice(offset, sizeof(T)).data(), sizeof(T));
        return value;
    }
    std::vector<uint8_t> slice(uint64_t offset, uint64_t size) const {
        if (offset > data.size() || size > data.size() - offset) {
            throw std::out_of_range("read past the end of the dump");
        }
        const auto begin = data.begin() + static_cast<std::ptrdiff_t>(offset);
        return {begin, begin + static_cast<std::ptrdiff_t>(size)};
    }
};

struct Location {
    uint32_t size = 0;
    uint32_t rva = 0;
};

struct DumpThread {
    uint32_t id = 0;
    uint64_t stack_start = 0;
    std::vector<uint8_t> stack;
    Location context;
};

struct DumpModule {
    uint64_t base = 0;
    uint32_t size = 0;
    std::string name;
    std::vector<uint8_t> build_id;
};

// What the tests look at in a dump, read with the published minidump layout
// and nothing of the writer's.
struct Dump {
    uint32_t signature = 0;
    uint32_t version = 0;
    std::map<uint32_t, Location> streams;

    uint16_t architecture = 0;
    uint8_t processors = 0;
    uint32_t platform = 0;

    uint32_t exception_thread = 0;
    uint32_t exception_code = 0;
    uint32_t exception_flags = 0;
    uint64_t exception_address = 0;
    Location exception_context;

    std::vector<DumpThread> threads;
    std::vector<std::pair<uint64_t, uint32_t>> memory_ranges;  // start, size
    std::vector<DumpModule> modules;
    std::string maps;
    std::string status;

    std::optional<uint64_t> instruction_pointer;
    std::optional<uint64_t> stack_pointer;

    const DumpModule* moduleContaining(uint64_t address) const {
        for (const auto& module : modules) {
            if (address >= module.base && address - module.base < module.size) {
                return &module;
            }
        }
        return nullptr;
    }
};

std::string readMinidumpString(const Bytes& bytes, uint32_t rva) {
    const auto length = bytes.get<uint32_t>(rva);
    std::string text;
    for (uint32_t offset = 0; offset < length; offset += 2) {
        const auto unit = bytes.get<uint16_t>(rva + 4 + offset);
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

Dump parseDump(const fs::path& path) {
    const Bytes bytes{readFile(path)};
    Dump dump;
    dump.signature = bytes.get<uint32_t>(0);
    dump.version = bytes.get<uint32_t>(4);
    const auto stream_count = bytes.get<uint32_t>(8);
    const auto directory = bytes.get<uint32_t>(12);
    for (uint32_t index = 0; index < stream_count; ++index) {
        const uint64_t entry = directory + 12ULL * index;
        dump.streams[bytes.get<uint32_t>(entry)] = {bytes.get<uint32_t>(entry + 4),
                                                    bytes.get<uint32_t>(entry + 8)};
    }

    if (auto it = dump.streams.find(kSystemInfoStream); it != dump.streams.end()) {
        const uint32_t at = it->second.rva;
        dump.architecture = bytes.get<uint16_t>(at);
        dump.processors = bytes.get<uint8_t>(at + 6);
        dump.platform = bytes.get<uint32_t>(at + 20);
    }
    if (auto it = dump.streams.find(kExceptionStream); it != dump.streams.end()) {
        const uint32_t at = it->second.rva;
        dump.exception_thread = bytes.get<uint32_t>(at);
        dump.exception_code = bytes.get<uint32_t>(at + 8);
        dump.exception_flags = bytes.get<uint32_t>(at + 12);
        dump.exception_address = bytes.get<uint64_t>(at + 24);
        dump.exception_context = {bytes.get<uint32_t>(at + 160), bytes.get<uint32_t>(at + 164)};
    }
    if (auto it = dump.streams.find(kThreadListStream); it != dump.streams.end()) {
        const uint32_t at = it->second.rva;
        const auto count = bytes.get<uint32_t>(at);
        for (uint32_t index = 0; index < count; ++index) {
            const uint64_t thread = at + 4 + 48ULL * index;
            DumpThread parsed;
            parsed.id = bytes.get<uint32_t>(thread);
            parsed.stack_start = bytes.get<uint64_t>(thread + 24);
            parsed.stack =
                bytes.slice(bytes.get<uint32_t>(thread + 36), bytes.get<uint32_t>(thread + 32));
            parsed.context = {bytes.get<uint32_t>(thread + 40), bytes.get<uint32_t>(thread + 44)};
            dump.threads.push_back(std::move(parsed));
        }
    }
    if (auto it = dump.streams.find(kMemoryListStream); it != dump.streams.end()) {
        const uint32_t at = it->second.rva;
        const auto count = bytes.get<uint32_t>(at);
        for (uint32_t index = 0; index < count; ++index) {
            const uint64_t range = at + 4 + 16ULL * index;
            dump.memory_ranges.emplace_back(bytes.get<uint64_t>(range),
                                            bytes.get<uint32_t>(range + 8));
        }
    }
    if (auto it = dump.streams.find(kModuleListStream); it != dump.streams.end()) {
        const uint32_t at = it->second.rva;
        const auto count = bytes.get<uint32_t>(at);
        if (it->second.size != 4 + 108ULL * count) {
            throw std::runtime_error("module list size does not match its count");
        }
        for (uint32_t index = 0; index < count; ++index) {
            const uint64_t module = at + 4 + 108ULL * index;
            DumpModule parsed;
            parsed.base = bytes.get<uint64_t>(module);
            parsed.size = bytes.get<uint32_t>(module + 8);
            parsed.name = readMinidumpString(bytes, bytes.get<uint32_t>(module + 20));
            const auto cv_size = bytes.get<uint32_t>(module + 76);
            const auto cv_rva = bytes.get<uint32_t>(module + 80);
            if (cv_size >= 4 && bytes.get<uint32_t>(cv_rva) == 0x4270454c) {
                parsed.build_id = bytes.slice(cv_rva + 4, cv_size - 4);
            }
            dump.modules.push_back(std::move(parsed));
        }
    }
    if (auto it = dump.streams.find(kLinuxMapsStream); it != dump.streams.end()) {
        const auto text = bytes.slice(it->second.rva, it->second.size);
        dump.maps.assign(text.begin(), text.end());
    }
    if (auto it = dump.streams.find(kLinuxProcStatusStream); it != dump.streams.end()) {
        const auto text = bytes.slice(it->second.rva, it->second.size);
        dump.status.assign(text.begin(), text.end());
    }

    if (!dump.threads.empty() && dump.threads[0].context.size > 0) {
        const uint32_t context = dump.threads[0].context.rva;
        const auto flags =
            bytes.get<uint32_t>(dump.threads[0].context.size == 1232 ? context + 48 : context);
        if (dump.threads[0].context.size == 1232 && (flags & 0x00100000) != 0) {  // AMD64
            dump.stack_pointer = bytes.get<uint64_t>(context + 152);
            dump.instruction_pointer = bytes.get<uint64_t>(context + 248);
        } else if (dump.threads[0].context.size == 368 && (flags & 0x40000000) != 0) {  // ARM
            dump.stack_pointer = bytes.get<uint32_t>(context + 4 + 13 * 4);
            dump.instruction_pointer = bytes.get<uint32_t>(context + 4 + 15 * 4);
        }
    }
    return dump;
}

bool containsMarker(const std::vector<uint8_t>& memory, uint64_t marker) {
    for (size_t offset = 0; offset + sizeof marker <= memory.size(); ++offset) {
        if (memcmp(memory.data() + offset, &marker, sizeof marker) == 0) {
            return true;
        }
    }
    return false;
}

fs::path executablePath() {
    return fs::read_symlink("/proc/self/exe");
}

// Crashes in this executable's own code with a marker value in its frame.
// The undefined-behaviour sanitizer would only report the store, not stop it.
__attribute__((noinline, no_sanitize("undefined"))) void writeThroughNullPointer() {
    volatile uint64_t marker = kStackMarker;
    volatile int* volatile null_pointer = nullptr;
    *null_pointer = static_cast<int>(marker);
}

struct ChildOutcome {
    pid_t pid = 0;
    int status = 0;
    pid_t crashed_thread = 0;
};

// Runs `body` in a child process whose crash signals start at their default
// actions (whatever the test runner or a sanitizer installed) and which writes
// no core file. `body` may report the thread that is about to crash through
// the pipe it is given.
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
        for (int signal_number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP}) {
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
    if (read(report[0], &outcome.crashed_thread, sizeof outcome.crashed_thread) !=
        sizeof outcome.crashed_thread) {
        outcome.crashed_thread = 0;
    }
    close(report[0]);
    waitpid(pid, &outcome.status, 0);
    return outcome;
}

void reportThread(int report_fd) {
    const auto thread_id = static_cast<pid_t>(syscall(SYS_gettid));
    if (write(report_fd, &thread_id, sizeof thread_id) != sizeof thread_id) {
        _exit(kChildSetupFailed);
    }
}

std::vector<fs::path> filesIn(const fs::path& directory) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(directory)) {
        files.push_back(entry.path());
    }
    return files;
}

std::string killedBy(int status) {
    if (WIFSIGNALED(status)) {
        return "signal " + std::to_string(WTERMSIG(status));
    }
    return "exit status " + std::to_string(WEXITSTATUS(status));
}

// "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx.dmp", a random UUID in lower-case hex.
bool isUuidDumpName(const std::string& name) {
    static const std::regex uuid(
        "[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\.dmp");
    return std::regex_match(name, uuid);
}

class CrashHandlerTest : public ::testing::Test {
  protected:
    void expectOneDump(int signal_number) {
        ASSERT_EQ(killedBy(outcome_.status), "signal " + std::to_string(signal_number));
        const auto files = filesIn(dumps_);
        ASSERT_EQ(files.size(), 1u);
        dump_path_ = files[0];
        dump_ = parseDump(dump_path_);
    }

    testing::TempDir temp_;
    fs::path dumps_ = temp_.path() / "dumps";
    ChildOutcome outcome_;
    fs::path dump_path_;
    Dump dump_;
};

// One crash by a null write, and all that its dump holds. A stream the writer
// left out shows as the empty fields read from it.
TEST_F(CrashHandlerTest, SegfaultLeavesOneDumpOfTheCrashingThreadInACreatedDirectory) {
    dumps_ = temp_.path() / "crashlog" / "dumpfiles";
    outcome_ = runChild([this](int report) {
        auto handler = getCrashHandler("vantaapid", dumps_.string());
        reportThread(report);
        writeThroughNullPointer();
    });
    ASSERT_NO_FATAL_FAILURE(expectOneDump(SIGSEGV));

    // Named after the process and its pid; the header and the system.
    const std::string name = dump_path_.filename().string();
    const std::string prefix = "vantaapid_" + std::to_string(outcome_.pid) + "_";
    ASSERT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(isUuidDumpName(name.substr(prefix.size()))) << name;
    EXPECT_EQ(dump_.signature, 0x504d444du);  // "MDMP"
    EXPECT_EQ(dump_.version & 0xffff, 0xa793u);
#if defined(__x86_64__)
    EXPECT_EQ(dump_.architecture, 9);  // AMD64
#elif defined(__arm__)
    EXPECT_EQ(dump_.architecture, 5);  // ARM
#endif
    EXPECT_EQ(dump_.processors, std::min(sysconf(_SC_NPROCESSORS_CONF), 255L));
    EXPECT_EQ(dump_.platform, 0x8201u);  // Linux

    // The exception: signal, thread and fault address.
    EXPECT_EQ(dump_.exception_code, static_cast<uint32_t>(SIGSEGV));
    EXPECT_EQ(dump_.exception_flags, static_cast<uint32_t>(SEGV_MAPERR));
    EXPECT_EQ(dump_.exception_address, 0u);
    EXPECT_EQ(dump_.exception_thread, static_cast<uint32_t>(outcome_.crashed_thread));
    ASSERT_EQ(dump_.threads.size(), 1u);
    const DumpThread& thread = dump_.threads[0];
    EXPECT_EQ(dump_.exception_context.rva, thread.context.rva);
    EXPECT_EQ(dump_.exception_context.size, thread.context.size);

    // The thread's registers and its own stack: the crashing frame's (not the
    // signal stack's), covering the stack pointer and holding the marker the
    // crashing function stored.
    EXPECT_EQ(thread.id, static_cast<uint32_t>(outcome_.pid));
    ASSERT_FALSE(thread.stack.empty());
    EXPECT_LE(thread.stack.size(), 32u * 1024u + 128u);
    EXPECT_TRUE(containsMarker(thread.stack, kStackMarker));
    ASSERT_EQ(dump_.memory_ranges.size(), 1u);
    EXPECT_EQ(dump_.memory_ranges[0].first, thread.stack_start);
    EXPECT_EQ(dump_.memory_ranges[0].second, thread.stack.size());
#if defined(__x86_64__) || defined(__arm__)
    ASSERT_TRUE(dump_.stack_pointer.has_value());
    ASSERT_TRUE(dump_.instruction_pointer.has_value());
    EXPECT_LE(thread.stack_start, *dump_.stack_pointer);
    EXPECT_LT(*dump_.stack_pointer - thread.stack_start, thread.stack.size());
    // The fault happened in this executable's code.
    const DumpModule* crashed_in = dump_.moduleContaining(*dump_.instruction_pointer);
    ASSERT_NE(crashed_in, nullptr) << std::hex << *dump_.instruction_pointer;
    EXPECT_EQ(crashed_in->name, executablePath().string());
#endif

    // Modules: the executable and the C library with build ids (whose bytes
    // are the reader's, crash_parsers_test), none overlapping.
    const std::string executable = executablePath().string();
    const DumpModule* found = nullptr;
    for (const auto& module : dump_.modules) {
        EXPECT_FALSE(module.name.empty());
        EXPECT_GT(module.size, 0u) << module.name;
        if (module.name == executable) {
            found = &module;
        }
    }
    ASSERT_NE(found, nullptr) << executable;
    EXPECT_FALSE(found->build_id.empty());
    for (size_t index = 1; index < dump_.modules.size(); ++index) {
        EXPECT_GE(dump_.modules[index].base,
                  dump_.modules[index - 1].base + dump_.modules[index - 1].size)
            << "modules overlap: " << dump_.modules[index - 1].name << " and "
            << dump_.modules[index].name;
    }
    EXPECT_TRUE(
        std::any_of(dump_.modules.begin(), dump_.modules.end(), [](const DumpModule& module) {
            return module.name.find("libc.so") != std::string::npos && !module.build_id.empty();
        }));

    // The process's maps and status.
    EXPECT_NE(dump_.maps.find(executable), std::string::npos);
    EXPECT_NE(dump_.maps.find("[stack]"), std::string::npos);
    ASSERT_FALSE(dump_.maps.empty());
    EXPECT_EQ(dump_.maps.back(), '\n');
    EXPECT_NE(dump_.status.find("\nPid:\t" + std::to_string(outcome_.pid) + "\n"),
              std::string::npos);
}

TEST_F(CrashHandlerTest, AbortIsDumpedWithSignalSix) {
    outcome_ = runChild([this](int report) {
        auto handler = getCrashHandler("vantaapid", dumps_.string());
        reportThread(report);
        abort();
    });
    ASSERT_NO_FATAL_FAILURE(expectOneDump(SIGABRT));

    EXPECT_EQ(dump_.exception_code, static_cast<uint32_t>(SIGABRT));
    EXPECT_EQ(dump_.exception_thread, static_cast<uint32_t>(outcome_.crashed_thread));
}

TEST_F(CrashHandlerTest, CrashInAnotherThreadNamesThatThread) {
    outcome_ = runChild([this](int report) {
        auto handler = getCrashHandler("vantaapid", dumps_.string());
        std::thread worker([report] {
            reportThread(report);
            writeThroughNullPointer();
        });
        worker.join();
    });
    ASSERT_NO_FATAL_FAILURE(expectOneDump(SIGSEGV));

    ASSERT_NE(outcome_.crashed_thread, outcome_.pid);
    EXPECT_EQ(dump_.exception_thread, static_cast<uint32_t>(outcome_.crashed_thread));
    ASSERT_EQ(dump_.threads.size(), 1u);
    EXPECT_EQ(dump_.threads[0].id, static_cast<uint32_t>(outcome_.crashed_thread));
    EXPECT_TRUE(containsMarker(dump_.threads[0].stack, kStackMarker));
}

TEST_F(CrashHandlerTest, DestroyedHandlerLeavesNoDump) {
    outcome_ = runChild([this](int) {
        getCrashHandler("vantaapid", dumps_.string()).reset();
        writeThroughNullPointer();
    });

    EXPECT_EQ(killedBy(outcome_.status), "signal " + std::to_string(SIGSEGV));
    ASSERT_TRUE(fs::exists(dumps_));
    EXPECT_TRUE(filesIn(dumps_).empty());
}

TEST_F(CrashHandlerTest, FailedRenameLeavesDumpUnderItsOwnName) {
    // The new name points into a directory that does not exist.
    outcome_ = runChild([this](int) {
        auto handler = getCrashHandler("missing/vantaapid", dumps_.string());
        writeThroughNullPointer();
    });
    ASSERT_NO_FATAL_FAILURE(expectOneDump(SIGSEGV));

    const std::string name = dump_path_.filename().string();
    EXPECT_TRUE(isUuidDumpName(name)) << name;
    EXPECT_EQ(dump_.exception_code, static_cast<uint32_t>(SIGSEGV));
}

void markerHandler(int) {}

TEST_F(CrashHandlerTest, OneHandlerAtATimeForADirectoryAndDestructionRestoresPreviousActions) {
    struct sigaction original {};
    struct sigaction marker {};
    marker.sa_handler = &markerHandler;
    sigemptyset(&marker.sa_mask);
    ASSERT_EQ(sigaction(SIGBUS, &marker, &original), 0);

    auto first = getCrashHandler("vantaapid", dumps_.string());
    struct sigaction installed {};
    sigaction(SIGBUS, nullptr, &installed);
    EXPECT_NE(installed.sa_handler, &markerHandler);
    EXPECT_THROW(getCrashHandler("vantaapid", dumps_.string()), std::runtime_error);

    first.reset();
    struct sigaction restored {};
    sigaction(SIGBUS, nullptr, &restored);
    EXPECT_EQ(restored.sa_handler, &markerHandler);
    EXPECT_NO_THROW(getCrashHandler("vantaapid", dumps_.string()).reset());
    EXPECT_THROW(getCrashHandler("vantaapid", ""), std::invalid_argument);

    sigaction(SIGBUS, &original, nullptr);
}

}  // namespace
}  // namespace vanta
