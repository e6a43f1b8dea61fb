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

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "runtime/crash/elf_build_id.h"
#include "runtime/crash/proc_maps.h"
#include "runtime/crash/signal_safe_io.h"
#include "runtime/crash/thread_lister.h"
#include "support/data_files.h"

namespace vanta::crash {
namespace {

// The cases of this file's tables, from crash_parsers_cases.json.
const nlohmann::json& cases() {
    static const nlohmann::json parsed =
        testing::read_json(VANTA_RUNTIME_TEST_DATA "/crash_parsers_cases.json");
    return parsed;
}

TEST(ProcMapsTest, LinesAreSplitIntoTheirFieldsOrRejected) {
    ASSERT_EQ(cases().at("maps_lines").size(), 7u);
    ASSERT_EQ(cases().at("rejected_maps_lines").size(), 6u);
    for (const auto& row : cases().at("maps_lines")) {
        const std::string line = row.at("line");
        if (std::stoull(row.at("end").get<std::string>(), nullptr, 16) > UINTPTR_MAX) {
            continue;  // no such address on a 32-bit machine
        }
        Mapping mapping;
        ASSERT_TRUE(parseMapsLine(line.data(), line.size(), mapping)) << line;
        const nlohmann::json parsed = {{"line", line},
                                       {"begin", fmt::format("{:x}", mapping.begin)},
                                       {"end", fmt::format("{:x}", mapping.end)},
                                       {"offset", fmt::format("{:x}", mapping.offset)},
                                       {"inode", mapping.inode},
                                       {"readable", mapping.readable},
                                       {"executable", mapping.executable},
                                       {"path", std::string(mapping.path, mapping.path_length)}};
        EXPECT_EQ(parsed, row);
    }
    for (const std::string line : cases().at("rejected_maps_lines")) {
        Mapping mapping;
        EXPECT_FALSE(parseMapsLine(line.data(), line.size(), mapping)) << line;
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
        EXPECT_EQ(ids.empty() ? 0 : ids[0], getpid());
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

std::vector<uint8_t> sequence(size_t length) {
    std::vector<uint8_t> bytes(length);
    for (size_t index = 0; index < length; ++index) {
        bytes[index] = static_cast<uint8_t>(0xa0 + index);
    }
    return bytes;
}

void append(std::vector<uint8_t>& to, const void* data, size_t size) {
    const auto* begin = static_cast<const uint8_t*>(data);
    to.insert(to.end(), begin, begin + size);
}

// An ELF image of this process's word size, built in memory as a linker lays
// it out: the header, a loadable segment (unless `with_load` is false) and a
// PT_NOTE segment for each of `note_segments` (as the cases file gives them),
// whose notes describe themselves with the bytes of sequence().
std::vector<uint8_t> elfImage(const nlohmann::json& note_segments, bool with_load) {
    constexpr uintptr_t kLinkAddress = 0x400000;
    const size_t phnum = note_segments.size() + (with_load ? 1 : 0);
    // Notes are aligned within the file, and the headers before the body
    // need not end aligned (on 32-bit they end at 116 bytes here).
    const size_t headers_size = sizeof(ElfW(Ehdr)) + phnum * sizeof(ElfW(Phdr));
    std::vector<ElfW(Phdr)> headers;
    if (with_load) {
        ElfW(Phdr) load{};
        load.p_type = PT_LOAD;
        load.p_vaddr = kLinkAddress;
        headers.push_back(load);
    }
    std::vector<uint8_t> body;
    for (const auto& segment : note_segments) {
        const size_t alignment = segment.value("alignment", 4);
        const auto pad = [&] {
            const size_t end = headers_size + body.size();
            body.resize((end + alignment - 1) / alignment * alignment - headers_size);
        };
        pad();
        const size_t start = headers_size + body.size();
        for (const auto& note : segment["notes"]) {
            const std::string vendor = note["vendor"];
            const std::vector<uint8_t> description = sequence(note["length"]);
            ElfW(Nhdr) header{};
            header.n_namesz = static_cast<uint32_t>(vendor.size() + 1);
            header.n_descsz = static_cast<uint32_t>(description.size());
            header.n_type = note["type"] == "build_id" ? NT_GNU_BUILD_ID : NT_GNU_ABI_TAG;
            append(body, &header, sizeof header);
            append(body, vendor.c_str(), vendor.size() + 1);
            pad();
            append(body, description.data(), description.size());
            pad();
        }
        ElfW(Phdr) note_header{};
        note_header.p_type = PT_NOTE;
        note_header.p_offset = start;
        note_header.p_vaddr = kLinkAddress + start;
        note_header.p_filesz = headers_size + body.size() - start - segment.value("truncate_by", 0);
        note_header.p_align = alignment;
        headers.push_back(note_header);
    }

    ElfW(Ehdr) header{};
    memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    header.e_phoff = sizeof header;
    header.e_phentsize = sizeof(ElfW(Phdr));
    header.e_phnum = static_cast<uint16_t>(phnum);
    std::vector<uint8_t> image;
    append(image, &header, sizeof header);
    append(image, headers.data(), headers.size() * sizeof(ElfW(Phdr)));
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

// The GNU build id note, found through the program headers; none where the
// image has none or cannot be followed.
TEST(ElfBuildIdTest, TheGnuBuildIdNoteIsFoundThroughTheProgramHeaders) {
    ASSERT_EQ(cases().at("elf_images").size(), 11u);
    for (const auto& row : cases().at("elf_images")) {
        SCOPED_TRACE(row.at("what").get<std::string>());
        const std::string damage = row.value("damage", "");
        std::vector<uint8_t> image = elfImage(row.at("note_segments"), damage != "no_load");
        if (damage == "magic") {
            image[1] = 'X';
        } else if (damage == "class") {
            image[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS32 : ELFCLASS64;
        }
        uint8_t id[kMaxBuildIdSize];
        const auto begin = reinterpret_cast<uintptr_t>(image.data());
        const size_t length = readElfBuildId(MemoryReader(), begin, begin + image.size(), id);
        EXPECT_EQ(std::vector<uint8_t>(id, id + length), sequence(row.at("build_id_length")));
    }
}

}  // namespace
}  // namespace vanta::crash
