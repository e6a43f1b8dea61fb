// What the crash handler reads without allocating: lines of /proc/self/maps,
// the build id of a mapped ELF image, the threads of a process and the memory
// of another process.

#include <elf.h>
#include <link.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "runtime/crash/elf_build_id.h"
#include "runtime/crash/proc_maps.h"
#include "runtime/crash/signal_safe_io.h"
#include "runtime/crash/thread_lister.h"

namespace vanta::crash {
namespace {

struct MapsRow {
    const char* line;
    uint64_t begin;
    uint64_t end;
    uint64_t offset;
    uint64_t inode;
    bool readable;
    bool executable;
    const char* path;
};

TEST(ProcMapsTest, LinesAreSplitIntoTheirFields) {
    const MapsRow rows[] = {
        {"5581a3c00000-5581a3c2e000 r--p 00000000 08:01 1311234                    "
         "/usr/bin/vantaapid",
         0x5581a3c00000, 0x5581a3c2e000, 0, 1311234, true, false, "/usr/bin/vantaapid"},
        {"7f3a1c000000-7f3a1c021000 r-xp 00028000 fd:00 393   /opt/My Tones/lib tone.so",
         0x7f3a1c000000, 0x7f3a1c021000, 0x28000, 393, true, true, "/opt/My Tones/lib tone.so"},
        {"7f3a1d000000-7f3a1d001000 rw-s 00000000 00:05 1037   /dev/shm/log_data (deleted)",
         0x7f3a1d000000, 0x7f3a1d001000, 0, 1037, true, false, "/dev/shm/log_data (deleted)"},
        {"55b5ebc59000-55b5ebc6c000 rw-p 00000000 00:00 0 ", 0x55b5ebc59000, 0x55b5ebc6c000, 0, 0,
         true, false, ""},
        {"7ffc2e5dd000-7ffc2e5fe000 rw-p 00000000 00:00 0                          [stack]",
         0x7ffc2e5dd000, 0x7ffc2e5fe000, 0, 0, true, false, "[stack]"},
        {"7f5b9db16000-7f5b9db18000 ---p 00000000 00:00 0 [vdso]", 0x7f5b9db16000, 0x7f5b9db18000,
         0, 0, false, false, "[vdso]"},
        {"00010000-00020000 r-xp 00001000 b3:02 12 /usr/bin/vantaapid", 0x10000, 0x20000, 0x1000,
         12, true, true, "/usr/bin/vantaapid"},
    };
    for (const MapsRow& row : rows) {
        if (row.end > UINTPTR_MAX) {
            continue;  // no such address on a 32-bit machine
        }
        SCOPED_TRACE(row.line);
        Mapping mapping;
        ASSERT_TRUE(parseMapsLine(row.line, strlen(row.line), mapping));
        EXPECT_EQ(mapping.begin, row.begin);
        EXPECT_EQ(mapping.end, row.end);
        EXPECT_EQ(mapping.offset, row.offset);
        EXPECT_EQ(mapping.inode, row.inode);
        EXPECT_EQ(mapping.readable, row.readable);
        EXPECT_EQ(mapping.executable, row.executable);
        EXPECT_EQ(std::string(mapping.path, mapping.path_length), row.path);
    }
}

TEST(ProcMapsTest, LinesOfAnotherShapeAreRejected) {
    for (const char* line :
         {"", "not a mapping", "7f00-7f10 r-", "7f00-7f10 r-xp 0000 08:01",
          "7f00 7f10 r-xp 00000000 08:01 5 /x", "7f00-7f10 r-xp zz 08:01 5 /x"}) {
        Mapping mapping;
        EXPECT_FALSE(parseMapsLine(line, strlen(line), mapping)) << line;
    }
}

TEST(LineReaderTest, LongLinesAreCutAndTheLastLineNeedsNoNewline) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const std::string text = "first\n" + std::string(40, 'x') + "\nthird";
    ASSERT_EQ(write(pipe_ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(pipe_ends[1]);

    char buffer[16];
    LineReader reader(pipe_ends[0], buffer, sizeof buffer);
    std::vector<std::string> lines;
    const char* line = nullptr;
    size_t length = 0;
    while (reader.next(line, length)) {
        lines.emplace_back(line, length);
    }
    close(pipe_ends[0]);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", std::string(16, 'x'), "third"}));
}

TEST(ThreadListerTest, EveryThreadOfAProcessIsListedUpToTheCapacity) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<std::atomic<pid_t>> started(3);
    std::vector<std::thread> threads;
    for (auto& thread_id : started) {
        threads.emplace_back([&thread_id, released] {
            thread_id = static_cast<pid_t>(syscall(SYS_gettid));
            released.wait();
        });
    }
    std::vector<pid_t> expected = {getpid()};
    for (auto& thread_id : started) {
        while (thread_id == 0) {
            std::this_thread::yield();
        }
        expected.push_back(thread_id);
    }

    // By "self" and by the process id; the main thread comes first.
    for (const pid_t process : {pid_t{0}, getpid()}) {
        SCOPED_TRACE(process);
        std::vector<pid_t> ids(16);
        ids.resize(listThreads(process, ids.data(), ids.size()));
        ASSERT_FALSE(ids.empty());
        EXPECT_EQ(ids[0], getpid());
        for (const pid_t id : expected) {
            EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
        }
        EXPECT_EQ(listThreads(process, ids.data(), 2), 2u);
    }
    release.set_value();
    for (auto& thread : threads) {
        thread.join();
    }

    pid_t none[4];
    EXPECT_EQ(listThreads(999999999, none, 4), 0u);  // beyond the largest process id
}

// The value differs between this process and the child that reads it.
volatile uint32_t g_seen_value = 0x11111111;

bool kernelCopiesMemory() {
    uint32_t source = 1;
    uint32_t copy = 0;
    iovec local{&copy, sizeof copy};
    iovec remote{&source, sizeof source};
    return syscall(SYS_process_vm_readv, getpid(), &local, 1UL, &remote, 1UL, 0UL) ==
           static_cast<long>(sizeof copy);
}

TEST(MemoryReaderTest, AnotherProcessIsReadNotThisOne) {
    if (!kernelCopiesMemory()) {
        GTEST_SKIP() << "no process_vm_readv here: a clone reads its own copy of the memory";
    }
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        g_seen_value = 0x22222222;
        const char byte = 1;
        if (write(ready[1], &byte, 1) == 1) {
            pause();
        }
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);

    const auto address = reinterpret_cast<uintptr_t>(&g_seen_value);
    uint32_t own = 0;
    uint32_t childs = 0;
    EXPECT_TRUE(MemoryReader().read(&own, address, sizeof own, address, address + sizeof own));
    EXPECT_TRUE(
        MemoryReader(child).read(&childs, address, sizeof childs, address, address + sizeof own));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(own, 0x11111111u);
    EXPECT_EQ(childs, 0x22222222u);
}

// An ELF image of this process's word size, built in memory: the header, a
// loadable segment and PT_NOTE segments, laid out as a linker would.
class ElfImage {
  public:
    struct Note {
        uint32_t type;
        std::string name;  // without its terminating zero
        std::vector<uint8_t> description;
    };
    struct NoteSegment {
        std::vector<Note> notes;
        size_t alignment = 4;
        size_t truncate_by = 0;  // bytes cut from the end of p_filesz
    };

    static constexpr uintptr_t kLinkAddress = 0x400000;

    ElfImage(std::vector<NoteSegment> segments, bool with_load = true) {
        const size_t phnum = segments.size() + (with_load ? 1 : 0);
        // Notes are aligned within the file, and the headers before the body
        // need not end aligned (on 32-bit they end at 116 bytes here).
        const size_t headers_size = sizeof(ElfW(Ehdr)) + phnum * sizeof(ElfW(Phdr));
        size_t offset = headers_size;
        std::vector<ElfW(Phdr)> headers;
        if (with_load) {
            ElfW(Phdr) load{};
            load.p_type = PT_LOAD;
            load.p_vaddr = kLinkAddress;
            headers.push_back(load);
        }
        std::vector<uint8_t> body;
        for (const NoteSegment& segment : segments) {
            offset = align(offset, segment.alignment);
            body.resize(offset - headers_size);
            const size_t start = offset;
            for (const Note& note : segment.notes) {
                ElfW(Nhdr) header{};
                header.n_namesz = static_cast<uint32_t>(note.name.size() + 1);
                header.n_descsz = static_cast<uint32_t>(note.description.size());
                header.n_type = note.type;
                append(body, &header, sizeof header);
                append(body, note.name.c_str(), note.name.size() + 1);
                body.resize(align(headers_size + body.size(), segment.alignment) - headers_size);
                append(body, note.description.data(), note.description.size());
                body.resize(align(headers_size + body.size(), segment.alignment) - headers_size);
            }
            offset = headers_size + body.size();
            ElfW(Phdr) note_header{};
            note_header.p_type = PT_NOTE;
            note_header.p_offset = start;
            note_header.p_vaddr = kLinkAddress + start;
            note_header.p_filesz = offset - start - segment.truncate_by;
            note_header.p_align = segment.alignment;
            headers.push_back(note_header);
        }

        ElfW(Ehdr) header{};
        memcpy(header.e_ident, ELFMAG, SELFMAG);
        header.e_ident[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
        header.e_phoff = sizeof header;
        header.e_phentsize = sizeof(ElfW(Phdr));
        header.e_phnum = static_cast<uint16_t>(phnum);
        append(bytes, &header, sizeof header);
        append(bytes, headers.data(), headers.size() * sizeof(ElfW(Phdr)));
        bytes.insert(bytes.end(), body.begin(), body.end());
    }

    std::vector<uint8_t> readBuildId() const {
        uint8_t id[kMaxBuildIdSize];
        const auto begin = reinterpret_cast<uintptr_t>(bytes.data());
        const size_t length = readElfBuildId(MemoryReader(), begin, begin + bytes.size(), id);
        return std::vector<uint8_t>(id, id + length);
    }

    std::vector<uint8_t> bytes;

  private:
    static size_t align(size_t value, size_t alignment) {
        return (value + alignment - 1) / alignment * alignment;
    }
    static void append(std::vector<uint8_t>& to, const void* data, size_t size) {
        const auto* begin = static_cast<const uint8_t*>(data);
        to.insert(to.end(), begin, begin + size);
    }
};

std::vector<uint8_t> sequence(size_t length) {
    std::vector<uint8_t> bytes(length);
    for (size_t index = 0; index < length; ++index) {
        bytes[index] = static_cast<uint8_t>(0xa0 + index);
    }
    return bytes;
}

TEST(ElfBuildIdTest, TheGnuBuildIdNoteIsFoundThroughTheProgramHeaders) {
    const ElfImage::Note build_id{NT_GNU_BUILD_ID, "GNU", sequence(20)};
    const ElfImage::Note abi_tag{NT_GNU_ABI_TAG, "GNU", {0, 0, 0, 0, 3, 0, 0, 0}};
    struct Row {
        const char* what;
        std::vector<ElfImage::NoteSegment> segments;
        std::vector<uint8_t> expected;
    };
    const Row rows[] = {
        {"one note", {{{build_id}}}, sequence(20)},
        {"after another note", {{{abi_tag, build_id}}}, sequence(20)},
        {"in the second note segment", {{{abi_tag}}, {{build_id}}}, sequence(20)},
        {"8-byte aligned notes", {{{abi_tag, build_id}, 8}}, sequence(20)},
        {"cut to the longest kept",
         {{{{NT_GNU_BUILD_ID, "GNU", sequence(80)}}}},
         sequence(kMaxBuildIdSize)},
        {"another vendor's note", {{{{NT_GNU_BUILD_ID, "XYZ", sequence(20)}}}}, {}},
        {"a truncated segment", {{{build_id}, 4, 4}}, {}},
        {"no notes", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ElfImage(row.segments).readBuildId(), row.expected);
    }
}

TEST(ElfBuildIdTest, ImagesThatCannotBeFollowedGiveNoBuildId) {
    const std::vector<ElfImage::NoteSegment> notes = {{{{NT_GNU_BUILD_ID, "GNU", sequence(20)}}}};
    EXPECT_TRUE(ElfImage(notes, /*with_load=*/false).readBuildId().empty());

    ElfImage not_elf(notes);
    not_elf.bytes[1] = 'X';
    EXPECT_TRUE(not_elf.readBuildId().empty());

    ElfImage other_class(notes);
    other_class.bytes[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS32 : ELFCLASS64;
    EXPECT_TRUE(other_class.readBuildId().empty());
}

}  // namespace
}  // namespace vanta::crash
