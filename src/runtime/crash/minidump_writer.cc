#include "runtime/crash/minidump_writer.h"

#include <elf.h>
#include <sys/auxv.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/crash/dump_file.h"
#include "runtime/crash/elf_build_id.h"
#include "runtime/crash/minidump_format.h"
#include "runtime/crash/proc_maps.h"
#include "runtime/crash/signal_safe_io.h"
#include "runtime/crash/thread_context.h"

namespace vanta {
namespace {

using namespace minidump;
using crash::DumpFile;
using crash::kMaxBuildIdSize;
using crash::LineReader;
using crash::Mapping;
using crash::MemoryReader;
using crash::NativeContext;
using crash::openReadOnly;
using crash::readRetrying;

// The streams a dump holds: system, exception, threads, memory, modules, maps
// and status.
constexpr size_t kStreamCount = 7;
constexpr size_t kMaxStackBytes = 32 * 1024;
#if defined(__x86_64__)
// Leaf functions keep their locals in the 128 bytes below the stack pointer.
constexpr size_t kRedZoneSize = 128;
#else
constexpr size_t kRedZoneSize = 0;
#endif
constexpr size_t kMaxPathLength = 4096;
constexpr size_t kLineBufferSize = kMaxPathLength + 512;
constexpr size_t kCopyBufferSize = 16 * 1024;
constexpr size_t kProcPathSize = 32;

#if defined(__x86_64__)
constexpr uint16_t kNativeArchitecture = kArchitectureAmd64;
#elif defined(__i386__)
constexpr uint16_t kNativeArchitecture = kArchitectureX86;
#elif defined(__arm__)
constexpr uint16_t kNativeArchitecture = kArchitectureArm;
#elif defined(__aarch64__)
constexpr uint16_t kNativeArchitecture = kArchitectureArm64;
#else
constexpr uint16_t kNativeArchitecture = kArchitectureUnknown;
#endif

// Consecutive mappings of one file, starting with the mapping of its offset 0.
struct ModuleCandidate {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    uintptr_t first_mapping_end = 0;
    uint64_t inode = 0;
    bool first_mapping_readable = false;
    bool executable = false;
    size_t path_length = 0;
    char path[kMaxPathLength];
};

bool startsModule(const Mapping& mapping) {
    if (mapping.offset != 0 || mapping.path_length == 0) {
        return false;
    }
    constexpr char kVdso[] = "[vdso]";
    return mapping.path[0] == '/' || (mapping.path_length == sizeof kVdso - 1 &&
                                      memcmp(mapping.path, kVdso, sizeof kVdso - 1) == 0);
}

bool continuesModule(const ModuleCandidate& module, const Mapping& mapping) {
    return mapping.inode == module.inode && mapping.begin >= module.end &&
           mapping.path_length == module.path_length &&
           memcmp(mapping.path, module.path, module.path_length) == 0;
}

// Converts UTF-8 to UTF-16; malformed bytes become U+FFFD. Returns the number
// of code units written, at most `capacity`.
size_t utf8ToUtf16(const char* text, size_t length, uint16_t* out, size_t capacity) {
    size_t count = 0;
    size_t index = 0;
    while (index < length) {
        const auto lead = static_cast<uint8_t>(text[index++]);
        uint32_t code_point;
        size_t continuation;
        if (lead < 0x80) {
            code_point = lead;
            continuation = 0;
        } else if ((lead & 0xe0) == 0xc0) {
            code_point = lead & 0x1fu;
            continuation = 1;
        } else if ((lead & 0xf0) == 0xe0) {
            code_point = lead & 0x0fu;
            continuation = 2;
        } else if ((lead & 0xf8) == 0xf0) {
            code_point = lead & 0x07u;
            continuation = 3;
        } else {
            code_point = 0xfffd;
            continuation = 0;
        }
        size_t seen = 0;
        for (; seen < continuation && index < length &&
               (static_cast<uint8_t>(text[index]) & 0xc0) == 0x80;
             ++seen, ++index) {
            code_point = (code_point << 6) | (static_cast<uint8_t>(text[index]) & 0x3fu);
        }
        if (seen < continuation || code_point > 0x10ffff ||
            (code_point >= 0xd800 && code_point <= 0xdfff)) {
            code_point = 0xfffd;
        }
        if (code_point >= 0x10000) {
            if (count + 2 > capacity) {
                break;
            }
            code_point -= 0x10000;
            out[count++] = static_cast<uint16_t>(0xd800 + (code_point >> 10));
            out[count++] = static_cast<uint16_t>(0xdc00 + (code_point & 0x3ff));
        } else {
            if (count + 1 > capacity) {
                break;
            }
            out[count++] = static_cast<uint16_t>(code_point);
        }
    }
    return count;
}

// Writes a minidump string: its length in bytes, UTF-16 code units and a
// terminating zero that the length does not count.
uint32_t writeString(DumpFile& file, const uint16_t* units, size_t count) {
    const auto byte_length = static_cast<uint32_t>(count * sizeof(uint16_t));
    const uint16_t terminator = 0;
    const uint32_t rva = file.allocate(sizeof byte_length + byte_length + sizeof terminator);
    file.writeAt(rva, &byte_length, sizeof byte_length);
    file.writeAt(rva + sizeof byte_length, units, byte_length);
    file.writeAt(rva + sizeof byte_length + byte_length, &terminator, sizeof terminator);
    return rva;
}

// A thread's registers written to the dump, and where its stack is.
struct CapturedContext {
    LocationDescriptor location{};
    uintptr_t stack_pointer = 0;
    bool has_stack_pointer = false;
};

CapturedContext writeContext(DumpFile& file, const NativeContext& context) {
    return {file.add(context), crash::stackPointerOf(context), true};
}

uint64_t faultAddress(const siginfo_t& info) {
    // si_addr is only filled in by the kernel for faults; for a signal sent with
    // kill or raise the same bytes hold the sender's pid and uid.
    const bool fault_signal = info.si_signo == SIGSEGV || info.si_signo == SIGBUS ||
                              info.si_signo == SIGFPE || info.si_signo == SIGILL ||
                              info.si_signo == SIGTRAP;
    if (!fault_signal || info.si_code <= 0) {
        return 0;
    }
    return reinterpret_cast<uintptr_t>(info.si_addr);
}

// Reads "6.1.0-18-arm" into the major, minor and build numbers.
void parseKernelVersion(const char* release, SystemInfo& system_info) {
    unsigned major = 0, minor = 0, build = 0;
    sscanf(release, "%u.%u.%u", &major, &minor, &build);
    system_info.major_version = major;
    system_info.minor_version = minor;
    system_info.build_number = build;
}

void describeProcessor(SystemInfo& system_info) {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(0, &eax, &ebx, &ecx, &edx) != 0) {
        system_info.cpu_information[0] = ebx;
        system_info.cpu_information[1] = edx;
        system_info.cpu_information[2] = ecx;
    }
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0) {
        system_info.cpu_information[3] = eax;
        system_info.cpu_information[4] = edx;
        unsigned family = (eax >> 8) & 0xf;
        unsigned model = (eax >> 4) & 0xf;
        if (family == 0xf) {
            family += (eax >> 20) & 0xff;
        }
        if (family == 0x6 || family >= 0xf) {
            model += ((eax >> 16) & 0xf) << 4;
        }
        system_info.processor_level = static_cast<uint16_t>(family);
        system_info.processor_revision = static_cast<uint16_t>((model << 8) | (eax & 0xf));
    }
    constexpr char kAmd[] = "AuthenticAMD";
    if (memcmp(system_info.cpu_information, kAmd, sizeof kAmd - 1) == 0 &&
        __get_cpuid(0x80000001, &eax, &ebx, &ecx, &edx) != 0) {
        system_info.cpu_information[5] = edx;
    }
#elif defined(__arm__)
    system_info.cpu_information[1] = static_cast<uint32_t>(getauxval(AT_HWCAP));
#else
    (void)system_info;
#endif
}

}  // namespace

// The writer's buffers and what it learned about the system at start-up.
struct MinidumpWriter::Scratch {
    Scratch();

    // Dumps `process_id` (0: this process); `others` is null when only the
    // crashing thread is dumped.
    bool write(int fd, const siginfo_t& info, const ucontext_t* context, pid_t process_id,
               pid_t thread_id, const OtherThreads* others);

    LocationDescriptor writeSystemInfo(DumpFile& file);
    CapturedContext writeCrashedContext(DumpFile& file, const ucontext_t* ucontext);
    MemoryDescriptor writeStack(DumpFile& file, uintptr_t stack_pointer);
    LocationDescriptor writeModuleList(DumpFile& file);
    LocationDescriptor writeCodeViewRecord(DumpFile& file, const ModuleCandidate& module);
    bool writeFileContents(DumpFile& file, const char* path, LocationDescriptor& location);

    // Calls `visit` with every mapped ELF file, in address order.
    template <typename Visitor>
    void forEachModule(Visitor&& visit);
    bool isElfModule(const ModuleCandidate& module) const;

    SystemInfo system_info{};
    std::vector<uint16_t> csd_version;
    MemoryReader memory;
    char maps_path[kProcPathSize];
    char status_path[kProcPathSize];
    NativeContext context;
    char line_buffer[kLineBufferSize];
    uint8_t copy_buffer[kCopyBufferSize];
    uint16_t name_buffer[kMaxPathLength];
    uint8_t build_id[kMaxBuildIdSize];
    ModuleCandidate module;
};

MinidumpWriter::Scratch::Scratch() {
    system_info.processor_architecture = kNativeArchitecture;
    const long processors = sysconf(_SC_NPROCESSORS_CONF);
    system_info.number_of_processors = static_cast<uint8_t>(std::clamp(processors, 1L, 255L));
    system_info.platform_id = kPlatformLinux;
    describeProcessor(system_info);

    utsname names{};
    std::string description = "Linux";
    if (uname(&names) == 0) {
        parseKernelVersion(names.release, system_info);
        description = std::string(names.sysname) + " " + names.release + " " + names.version + " " +
                      names.machine;
    }
    csd_version.resize(description.size() * 2);
    csd_version.resize(utf8ToUtf16(description.data(), description.size(), csd_version.data(),
                                   csd_version.size()));
}

bool MinidumpWriter::Scratch::write(int fd, const siginfo_t& info, const ucontext_t* ucontext,
                                    pid_t process_id, pid_t thread_id, const OtherThreads* others) {
    memory = MemoryReader(process_id);
    if (!crash::procPath(process_id, "maps", maps_path, sizeof maps_path) ||
        !crash::procPath(process_id, "status", status_path, sizeof status_path)) {
        return false;
    }
    DumpFile file(fd);
    Directory directory[kStreamCount] = {};
    uint32_t stream_count = 0;
    const uint32_t header_rva = file.allocate(sizeof(Header));
    const uint32_t directory_rva = file.allocate(sizeof directory);

    directory[stream_count++] = {kSystemInfoStream, writeSystemInfo(file)};

    const CapturedContext crashed_context = writeCrashedContext(file, ucontext);
    ExceptionStream exception{};
    exception.thread_id = static_cast<uint32_t>(thread_id);
    exception.exception_record.exception_code = static_cast<uint32_t>(info.si_signo);
    exception.exception_record.exception_flags = static_cast<uint32_t>(info.si_code);
    exception.exception_record.exception_address = faultAddress(info);
    exception.thread_context = crashed_context.location;
    directory[stream_count++] = {kExceptionStream, file.add(exception)};

    // The thread list and the memory list, where stack walkers look the
    // stacks up, with room for every thread; each list records how many of
    // its slots were filled.
    const size_t capacity = 1 + (others != nullptr ? others->count() : 0);
    const uint32_t thread_list_rva = file.allocate(sizeof(uint32_t) + capacity * sizeof(Thread));
    const uint32_t memory_list_rva =
        file.allocate(sizeof(uint32_t) + capacity * sizeof(MemoryDescriptor));
    uint32_t thread_count = 0;
    uint32_t range_count = 0;
    auto addThread = [&](pid_t id, const CapturedContext& context) {
        Thread thread{};
        thread.thread_id = static_cast<uint32_t>(id);
        thread.thread_context = context.location;
        if (context.has_stack_pointer) {
            thread.stack = writeStack(file, context.stack_pointer);
        }
        file.writeAt(thread_list_rva + sizeof thread_count + thread_count * sizeof(Thread), &thread,
                     sizeof thread);
        ++thread_count;
        if (thread.stack.memory.data_size > 0) {
            file.writeAt(
                memory_list_rva + sizeof range_count + range_count * sizeof(MemoryDescriptor),
                &thread.stack, sizeof thread.stack);
            ++range_count;
        }
    };
    addThread(thread_id, crashed_context);
    for (size_t index = 0; others != nullptr && index < others->count(); ++index) {
        // A thread whose registers cannot be read would only confuse the tools.
        if (others->readContext(index, context)) {
            addThread(others->id(index), writeContext(file, context));
        }
    }
    file.writeAt(thread_list_rva, &thread_count, sizeof thread_count);
    directory[stream_count++] = {
        kThreadListStream,
        {static_cast<uint32_t>(sizeof thread_count + thread_count * sizeof(Thread)),
         thread_list_rva}};
    file.writeAt(memory_list_rva, &range_count, sizeof range_count);
    directory[stream_count++] = {
        kMemoryListStream,
        {static_cast<uint32_t>(sizeof range_count + range_count * sizeof(MemoryDescriptor)),
         memory_list_rva}};

    directory[stream_count++] = {kModuleListStream, writeModuleList(file)};

    // Raw texts for the tools: the maps describe every address, the status
    // names the process and its pid.
    LocationDescriptor text{};
    if (writeFileContents(file, maps_path, text)) {
        directory[stream_count++] = {kLinuxMapsStream, text};
    }
    if (writeFileContents(file, status_path, text)) {
        directory[stream_count++] = {kLinuxProcStatusStream, text};
    }

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    Header header{};
    header.signature = kMinidumpSignature;
    header.version = kMinidumpVersion;
    header.stream_count = stream_count;
    header.stream_directory_rva = directory_rva;
    header.time_date_stamp = static_cast<uint32_t>(now.tv_sec);
    file.writeAt(directory_rva, directory, stream_count * sizeof(Directory));
    file.writeAt(header_rva, &header, sizeof header);
    return file.ok();
}

LocationDescriptor MinidumpWriter::Scratch::writeSystemInfo(DumpFile& file) {
    SystemInfo info = system_info;
    info.csd_version_rva = writeString(file, csd_version.data(), csd_version.size());
    return file.add(info);
}

CapturedContext MinidumpWriter::Scratch::writeCrashedContext(DumpFile& file,
                                                             const ucontext_t* ucontext) {
    if (ucontext == nullptr || !crash::contextFromSignal(*ucontext, context)) {
        return {};
    }
    return writeContext(file, context);
}

MemoryDescriptor MinidumpWriter::Scratch::writeStack(DumpFile& file, uintptr_t stack_pointer) {
    MemoryDescriptor stack{};
    stack.start_of_memory_range = stack_pointer;
    const int maps = openReadOnly(maps_path);
    if (maps < 0) {
        return stack;
    }
    Mapping mapping;
    bool found = false;
    LineReader lines(maps, line_buffer, sizeof line_buffer);
    const char* line = nullptr;
    size_t length = 0;
    while (!found && lines.next(line, length)) {
        found = crash::parseMapsLine(line, length, mapping) && mapping.readable &&
                mapping.begin <= stack_pointer && stack_pointer < mapping.end;
    }
    close(maps);
    if (!found) {
        // The stack pointer is wild (or past a stack overflow): no stack to keep.
        return stack;
    }

    const uintptr_t start =
        stack_pointer - std::min<uintptr_t>(kRedZoneSize, stack_pointer - mapping.begin);
    const size_t size = std::min<size_t>(kRedZoneSize + kMaxStackBytes, mapping.end - start);
    const uint32_t rva = file.allocate(size);
    for (size_t offset = 0; offset < size; offset += sizeof copy_buffer) {
        const size_t chunk = std::min(sizeof copy_buffer, size - offset);
        if (!memory.read(copy_buffer, start + offset, chunk, mapping.begin, mapping.end)) {
            memset(copy_buffer, 0, chunk);
        }
        file.writeAt(rva + offset, copy_buffer, chunk);
    }
    stack.start_of_memory_range = start;
    stack.memory = {static_cast<uint32_t>(size), rva};
    return stack;
}

bool MinidumpWriter::Scratch::isElfModule(const ModuleCandidate& candidate) const {
    if (!candidate.first_mapping_readable) {
        // Cannot look inside; code mapped from a file is taken to be a module.
        return candidate.executable;
    }
    char magic[SELFMAG];
    return memory.read(magic, candidate.begin, sizeof magic, candidate.begin,
                       candidate.first_mapping_end) &&
           memcmp(magic, ELFMAG, SELFMAG) == 0;
}

template <typename Visitor>
void MinidumpWriter::Scratch::forEachModule(Visitor&& visit) {
    const int maps = openReadOnly(maps_path);
    if (maps < 0) {
        return;
    }
    bool collecting = false;
    auto finish = [&]() {
        if (collecting && isElfModule(module)) {
            visit(static_cast<const ModuleCandidate&>(module));
        }
        collecting = false;
    };

    LineReader lines(maps, line_buffer, sizeof line_buffer);
    const char* line = nullptr;
    size_t length = 0;
    Mapping mapping;
    while (lines.next(line, length)) {
        if (!crash::parseMapsLine(line, length, mapping)) {
            continue;
        }
        if (collecting && continuesModule(module, mapping)) {
            module.end = mapping.end;
            module.executable = module.executable || mapping.executable;
            continue;
        }
        finish();
        if (startsModule(mapping) && mapping.path_length <= sizeof module.path) {
            collecting = true;
            module.begin = mapping.begin;
            module.end = mapping.end;
            module.first_mapping_end = mapping.end;
            module.first_mapping_readable = mapping.readable;
            module.executable = mapping.executable;
            module.inode = mapping.inode;
            module.path_length = mapping.path_length;
            memcpy(module.path, mapping.path, mapping.path_length);
        }
    }
    finish();
    close(maps);
}

LocationDescriptor MinidumpWriter::Scratch::writeCodeViewRecord(DumpFile& file,
                                                                const ModuleCandidate& candidate) {
    if (!candidate.first_mapping_readable) {
        return {};
    }
    const size_t length =
        crash::readElfBuildId(memory, candidate.begin, candidate.first_mapping_end, build_id);
    if (length == 0) {
        return {};
    }
    const uint32_t rva = file.allocate(sizeof kCodeViewElfSignature + length);
    file.writeAt(rva, &kCodeViewElfSignature, sizeof kCodeViewElfSignature);
    file.writeAt(rva + sizeof kCodeViewElfSignature, build_id, length);
    return {static_cast<uint32_t>(sizeof kCodeViewElfSignature + length), rva};
}

LocationDescriptor MinidumpWriter::Scratch::writeModuleList(DumpFile& file) {
    uint32_t expected = 0;
    forEachModule([&expected](const ModuleCandidate&) { ++expected; });

    // Another thread may map or unmap files between the two passes: the list
    // keeps the slots of the first count and records how many were filled.
    const uint32_t list_rva = file.allocate(sizeof expected + expected * sizeof(Module));
    uint32_t written = 0;
    forEachModule([&](const ModuleCandidate& candidate) {
        if (written == expected) {
            return;
        }
        Module entry{};
        entry.base_of_image = candidate.begin;
        entry.size_of_image =
            static_cast<uint32_t>(std::min<uintptr_t>(candidate.end - candidate.begin, UINT32_MAX));
        const size_t units = utf8ToUtf16(candidate.path, candidate.path_length, name_buffer,
                                         sizeof name_buffer / sizeof name_buffer[0]);
        entry.module_name_rva = writeString(file, name_buffer, units);
        entry.cv_record = writeCodeViewRecord(file, candidate);
        file.writeAt(list_rva + sizeof written + written * sizeof(Module), &entry, sizeof entry);
        ++written;
    });
    file.writeAt(list_rva, &written, sizeof written);
    return {static_cast<uint32_t>(sizeof written + written * sizeof(Module)), list_rva};
}

bool MinidumpWriter::Scratch::writeFileContents(DumpFile& file, const char* path,
                                                LocationDescriptor& location) {
    const int fd = openReadOnly(path);
    if (fd < 0) {
        return false;
    }
    const uint32_t rva = file.allocate(0);
    uint64_t total = 0;
    for (;;) {
        const ssize_t count = readRetrying(fd, copy_buffer, sizeof copy_buffer);
        if (count <= 0) {
            break;
        }
        file.append(copy_buffer, static_cast<size_t>(count));
        total += static_cast<uint64_t>(count);
    }
    close(fd);
    location = {static_cast<uint32_t>(total), rva};
    return true;
}

MinidumpWriter::MinidumpWriter() : scratch_(std::make_unique<Scratch>()) {}

MinidumpWriter::~MinidumpWriter() = default;

bool MinidumpWriter::write(int fd, const siginfo_t& info, const ucontext_t* context,
                           pid_t thread_id) {
    return scratch_->write(fd, info, context, 0, thread_id, nullptr);
}

bool MinidumpWriter::writeFromHelper(int fd, const siginfo_t& info, const ucontext_t* context,
                                     pid_t process_id, pid_t thread_id,
                                     const OtherThreads& others) {
    return scratch_->write(fd, info, context, process_id, thread_id, &others);
}

}  // namespace vanta
