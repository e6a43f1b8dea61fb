#include "runtime/crash/minidump_writer.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/auxv.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vanta {
namespace {

// ---------------------------------------------------------------------------
// Minidump layouts. Every field is little-endian, structures are packed, and
// offsets in the file ("RVA"s) are 32-bit.

constexpr uint32_t kMinidumpSignature = 0x504d444d;  // "MDMP"
constexpr uint32_t kMinidumpVersion = 0xa793;

constexpr uint32_t kThreadListStream = 3;
constexpr uint32_t kModuleListStream = 4;
constexpr uint32_t kMemoryListStream = 5;
constexpr uint32_t kExceptionStream = 6;
constexpr uint32_t kSystemInfoStream = 7;
constexpr uint32_t kLinuxProcStatusStream = 0x47670004;
constexpr uint32_t kLinuxMapsStream = 0x47670009;
constexpr size_t kStreamCount = 7;

enum ProcessorArchitecture : uint16_t {
    kArchitectureX86 = 0,
    kArchitectureArm = 5,
    kArchitectureAmd64 = 9,
    kArchitectureArm64 = 12,
    kArchitectureUnknown = 0xffff,
};
constexpr uint32_t kPlatformLinux = 0x8201;

constexpr uint32_t kCodeViewElfSignature = 0x4270454c;  // "LEpB" in the file

// Context flags: the architecture bit and which register groups are filled in.
enum ContextFlags : uint32_t {
    kContextAmd64 = 0x00100000,
    kContextAmd64Control = kContextAmd64 | 0x1,
    kContextAmd64Integer = kContextAmd64 | 0x2,
    kContextAmd64FloatingPoint = kContextAmd64 | 0x8,
    kContextArm = 0x40000000,
    kContextArmInteger = kContextArm | 0x2,
};

#pragma pack(push, 1)

struct LocationDescriptor {
    uint32_t data_size;
    uint32_t rva;
};

struct MemoryDescriptor {
    uint64_t start_of_memory_range;
    LocationDescriptor memory;
};

struct Header {
    uint32_t signature;
    uint32_t version;
    uint32_t stream_count;
    uint32_t stream_directory_rva;
    uint32_t checksum;
    uint32_t time_date_stamp;
    uint64_t flags;
};

struct Directory {
    uint32_t stream_type;
    LocationDescriptor location;
};

struct SystemInfo {
    uint16_t processor_architecture;
    uint16_t processor_level;
    uint16_t processor_revision;
    uint8_t number_of_processors;
    uint8_t product_type;
    uint32_t major_version;
    uint32_t minor_version;
    uint32_t build_number;
    uint32_t platform_id;
    uint32_t csd_version_rva;
    uint16_t suite_mask;
    uint16_t reserved;
    // x86: vendor id (3 words), version, features, AMD extended features.
    // ARM: cpu id, ELF hardware capabilities.
    uint32_t cpu_information[6];
};

struct ExceptionRecord {
    uint32_t exception_code;
    uint32_t exception_flags;
    uint64_t exception_record;
    uint64_t exception_address;
    uint32_t number_parameters;
    uint32_t unused_alignment;
    uint64_t exception_information[15];
};

struct ExceptionStream {
    uint32_t thread_id;
    uint32_t unused_alignment;
    ExceptionRecord exception_record;
    LocationDescriptor thread_context;
};

struct Thread {
    uint32_t thread_id;
    uint32_t suspend_count;
    uint32_t priority_class;
    uint32_t priority;
    uint64_t teb;
    MemoryDescriptor stack;
    LocationDescriptor thread_context;
};

struct ThreadListOfOne {
    uint32_t number_of_threads;
    Thread thread;
};

struct MemoryListOfOne {
    uint32_t number_of_memory_ranges;
    MemoryDescriptor range;
};

struct Module {
    uint64_t base_of_image;
    uint32_t size_of_image;
    uint32_t checksum;
    uint32_t time_date_stamp;
    uint32_t module_name_rva;
    uint32_t version_info[13];  // fixed file version information, unused on Linux
    LocationDescriptor cv_record;
    LocationDescriptor misc_record;
    uint32_t reserved0[2];
    uint32_t reserved1[2];
};

struct Uint128 {
    uint64_t low;
    uint64_t high;
};

struct ContextAmd64 {
    uint64_t p1_home, p2_home, p3_home, p4_home, p5_home, p6_home;
    uint32_t context_flags;
    uint32_t mx_csr;
    uint16_t cs, ds, es, fs, gs, ss;
    uint32_t eflags;
    uint64_t dr0, dr1, dr2, dr3, dr6, dr7;
    uint64_t rax, rcx, rdx, rbx, rsp, rbp, rsi, rdi;
    uint64_t r8, r9, r10, r11, r12, r13, r14, r15;
    uint64_t rip;
    uint8_t flt_save[512];  // the FXSAVE image, as the kernel puts it in the signal frame
    Uint128 vector_register[26];
    uint64_t vector_control;
    uint64_t debug_control;
    uint64_t last_branch_to_rip;
    uint64_t last_branch_from_rip;
    uint64_t last_exception_to_rip;
    uint64_t last_exception_from_rip;
};

struct ContextArm {
    uint32_t context_flags;
    uint32_t iregs[16];  // r0..r12, sp, lr, pc
    uint32_t cpsr;
    uint64_t fpscr;
    uint64_t fp_regs[32];
    uint32_t fp_extra[8];
};

#pragma pack(pop)

static_assert(sizeof(LocationDescriptor) == 8);
static_assert(sizeof(MemoryDescriptor) == 16);
static_assert(sizeof(Header) == 32);
static_assert(sizeof(Directory) == 12);
static_assert(sizeof(SystemInfo) == 56);
static_assert(sizeof(ExceptionRecord) == 152);
static_assert(sizeof(ExceptionStream) == 168);
static_assert(sizeof(Thread) == 48);
static_assert(sizeof(ThreadListOfOne) == 4 + 48);
static_assert(sizeof(MemoryListOfOne) == 4 + 16);
static_assert(sizeof(Module) == 108);
static_assert(sizeof(ContextAmd64) == 1232);
static_assert(offsetof(ContextAmd64, rip) == 248);
static_assert(offsetof(ContextAmd64, flt_save) == 256);
static_assert(sizeof(ContextArm) == 368);

// ---------------------------------------------------------------------------

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
constexpr size_t kMaxBuildIdSize = 64;
constexpr size_t kMaxNotesSize = 64 * 1024;
constexpr size_t kMaxProgramHeaders = 256;

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

#if __SIZEOF_POINTER__ == 8
constexpr unsigned char kNativeElfClass = ELFCLASS64;
#else
constexpr unsigned char kNativeElfClass = ELFCLASS32;
#endif

int openReadOnly(const char* path) {
    int fd;
    do {
        fd = open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openProcSelfMaps() {
    return openReadOnly("/proc/self/maps");
}

ssize_t readRetrying(int fd, void* buffer, size_t size) {
    ssize_t result;
    do {
        result = read(fd, buffer, size);
    } while (result < 0 && errno == EINTR);
    return result;
}

// The dump being written. Space is reserved at the end of the file and filled
// with pwrite, so a stream can point at data written after it. After the
// first failed write nothing more is written and ok() stays false.
class DumpFile {
public:
    explicit DumpFile(int fd) : fd_(fd) {}

    // Reserves `size` bytes at the end of the file, starting 8-byte aligned.
    uint32_t allocate(size_t size) {
        end_ = (end_ + 7) & ~uint64_t{7};
        const uint64_t rva = end_;
        end_ += size;
        if (end_ > UINT32_MAX) {
            ok_ = false;
        }
        return static_cast<uint32_t>(rva);
    }

    // Writes at the end of the file, growing the last reservation.
    void append(const void* data, size_t size) {
        writeAt(end_, data, size);
        end_ += size;
    }

    void writeAt(uint64_t offset, const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        while (size > 0 && ok_) {
            const ssize_t written = pwrite(fd_, bytes, size, static_cast<off_t>(offset));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                ok_ = false;
                break;
            }
            bytes += written;
            offset += static_cast<uint64_t>(written);
            size -= static_cast<size_t>(written);
        }
    }

    template <typename T>
    LocationDescriptor add(const T& value) {
        const uint32_t rva = allocate(sizeof(T));
        writeAt(rva, &value, sizeof(T));
        return {sizeof(T), rva};
    }

    bool ok() const { return ok_; }

private:
    int fd_;
    uint64_t end_ = 0;
    bool ok_ = true;
};

// Reads memory of this process. The kernel's copy turns an unreadable page into
// an error instead of a second fault inside the signal handler. Where the
// kernel refuses it, only ranges that /proc/self/maps shows readable are copied
// directly.
class MemoryReader {
public:
    MemoryReader() {
        const uint32_t probe = 0x6d656d31;
        uint32_t copy = 0;
        kernel_copy_ =
            copyThroughKernel(&copy, reinterpret_cast<uintptr_t>(&probe), sizeof probe) &&
            copy == probe;
    }

    bool read(void* destination, uintptr_t source, size_t size, uintptr_t readable_begin,
              uintptr_t readable_end) const {
        if (kernel_copy_) {
            return copyThroughKernel(destination, source, size);
        }
        if (source < readable_begin || source > readable_end || size > readable_end - source) {
            return false;
        }
        memcpy(destination, reinterpret_cast<const void*>(source), size);
        return true;
    }

private:
    static bool copyThroughKernel(void* destination, uintptr_t source, size_t size) {
        iovec local{destination, size};
        iovec remote{reinterpret_cast<void*>(source), size};
        const long copied = syscall(SYS_process_vm_readv, getpid(), &local, 1UL, &remote, 1UL, 0UL);
        return copied == static_cast<long>(size);
    }

    bool kernel_copy_ = false;
};

// Splits a file into lines with a fixed buffer. A line longer than the buffer
// is returned cut to the buffer's size; the rest of it is skipped.
class LineReader {
public:
    LineReader(int fd, char* buffer, size_t capacity)
        : fd_(fd), buffer_(buffer), capacity_(capacity) {}

    bool next(const char*& line, size_t& length) {
        for (;;) {
            char* newline = static_cast<char*>(memchr(buffer_ + begin_, '\n', end_ - begin_));
            if (newline != nullptr) {
                const size_t line_begin = begin_;
                begin_ = static_cast<size_t>(newline - buffer_) + 1;
                if (skipping_) {
                    skipping_ = false;
                    continue;
                }
                line = buffer_ + line_begin;
                length = static_cast<size_t>(newline - line);
                return true;
            }
            if (end_of_file_) {
                if (begin_ == end_ || skipping_) {
                    return false;
                }
                line = buffer_ + begin_;
                length = end_ - begin_;
                begin_ = end_;
                return true;
            }
            if (begin_ > 0) {
                memmove(buffer_, buffer_ + begin_, end_ - begin_);
                end_ -= begin_;
                begin_ = 0;
            }
            if (end_ == capacity_) {
                line = buffer_;
                length = capacity_;
                begin_ = end_ = 0;
                const bool already_skipping = skipping_;
                skipping_ = true;
                if (!already_skipping) {
                    return true;
                }
                continue;
            }
            const ssize_t count = readRetrying(fd_, buffer_ + end_, capacity_ - end_);
            if (count <= 0) {
                end_of_file_ = true;
            } else {
                end_ += static_cast<size_t>(count);
            }
        }
    }

private:
    int fd_;
    char* buffer_;
    size_t capacity_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool end_of_file_ = false;
    bool skipping_ = false;
};

// One line of /proc/self/maps: "begin-end perms offset dev inode   path".
struct Mapping {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    uint64_t offset = 0;
    uint64_t inode = 0;
    bool readable = false;
    bool executable = false;
    const char* path = nullptr;
    size_t path_length = 0;
};

const char* parseNumber(const char* text, const char* end, unsigned base, uint64_t& value) {
    value = 0;
    const char* start = text;
    for (; text < end; ++text) {
        unsigned digit;
        if (*text >= '0' && *text <= '9') {
            digit = static_cast<unsigned>(*text - '0');
        } else if (base == 16 && *text >= 'a' && *text <= 'f') {
            digit = static_cast<unsigned>(*text - 'a' + 10);
        } else {
            break;
        }
        value = value * base + digit;
    }
    return text == start ? nullptr : text;
}

const char* expect(const char* text, const char* end, char wanted) {
    return text != nullptr && text < end && *text == wanted ? text + 1 : nullptr;
}

bool parseMapsLine(const char* line, size_t length, Mapping& mapping) {
    const char* end = line + length;
    uint64_t begin = 0;
    uint64_t limit = 0;
    const char* text = expect(parseNumber(line, end, 16, begin), end, '-');
    text = text != nullptr ? expect(parseNumber(text, end, 16, limit), end, ' ') : nullptr;
    if (text == nullptr || end - text < 5) {
        return false;
    }
    mapping.begin = static_cast<uintptr_t>(begin);
    mapping.end = static_cast<uintptr_t>(limit);
    mapping.readable = text[0] == 'r';
    mapping.executable = text[2] == 'x';
    text = expect(text + 4, end, ' ');
    text = text != nullptr ? expect(parseNumber(text, end, 16, mapping.offset), end, ' ') : nullptr;
    if (text == nullptr) {
        return false;
    }
    text = static_cast<const char*>(memchr(text, ' ', static_cast<size_t>(end - text)));  // device
    text = text != nullptr ? parseNumber(text + 1, end, 10, mapping.inode) : nullptr;
    if (text == nullptr) {
        return false;
    }
    while (text < end && *text == ' ') {
        ++text;
    }
    mapping.path = text;
    mapping.path_length = static_cast<size_t>(end - text);
    return true;
}

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

size_t alignUp(size_t value, size_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

// Looks for the GNU build id among the notes at `notes` (one PT_NOTE segment).
size_t findBuildIdNote(const MemoryReader& memory, uintptr_t notes, size_t size, size_t alignment,
                       const ModuleCandidate& module, uint8_t* build_id) {
    const uintptr_t readable_begin = module.begin;
    const uintptr_t readable_end = module.first_mapping_end;
    size = std::min(size, kMaxNotesSize);
    size_t offset = 0;
    while (offset + sizeof(ElfW(Nhdr)) <= size) {
        ElfW(Nhdr) note;
        if (!memory.read(&note, notes + offset, sizeof note, readable_begin, readable_end)) {
            return 0;
        }
        const size_t name_offset = offset + sizeof note;
        const size_t description_offset = name_offset + alignUp(note.n_namesz, alignment);
        const size_t next = description_offset + alignUp(note.n_descsz, alignment);
        if (note.n_namesz > size || note.n_descsz > size || next > size) {
            return 0;
        }
        char name[4];
        if (note.n_type == NT_GNU_BUILD_ID && note.n_namesz == sizeof name && note.n_descsz > 0 &&
            memory.read(name, notes + name_offset, sizeof name, readable_begin, readable_end) &&
            memcmp(name, "GNU", sizeof name) == 0) {
            const size_t length = std::min<size_t>(note.n_descsz, kMaxBuildIdSize);
            return memory.read(build_id, notes + description_offset, length, readable_begin,
                               readable_end)
                       ? length
                       : 0;
        }
        offset = next;
    }
    return 0;
}

// Reads the build id of the ELF image whose first byte is mapped at
// `module.begin`, following its program headers to the PT_NOTE segments.
size_t readBuildId(const MemoryReader& memory, const ModuleCandidate& module, uint8_t* build_id) {
    const uintptr_t base = module.begin;
    const uintptr_t readable_end = module.first_mapping_end;
    ElfW(Ehdr) header;
    if (!module.first_mapping_readable ||
        !memory.read(&header, base, sizeof header, base, readable_end) ||
        memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeElfClass || header.e_phentsize != sizeof(ElfW(Phdr))) {
        return 0;
    }
    const size_t count = std::min<size_t>(header.e_phnum, kMaxProgramHeaders);
    auto readProgramHeader = [&](size_t index, ElfW(Phdr) & program_header) {
        return memory.read(&program_header, base + header.e_phoff + index * sizeof program_header,
                           sizeof program_header, base, readable_end);
    };

    // Addresses in the program headers are relative to the load bias; the
    // first loadable segment says where the file's offset 0 went.
    uintptr_t load_bias = 0;
    bool found_load = false;
    for (size_t index = 0; index < count && !found_load; ++index) {
        ElfW(Phdr) program_header;
        if (!readProgramHeader(index, program_header)) {
            return 0;
        }
        if (program_header.p_type == PT_LOAD) {
            load_bias = base - static_cast<uintptr_t>(program_header.p_vaddr) +
                        static_cast<uintptr_t>(program_header.p_offset);
            found_load = true;
        }
    }
    if (!found_load) {
        return 0;
    }
    for (size_t index = 0; index < count; ++index) {
        ElfW(Phdr) program_header;
        if (!readProgramHeader(index, program_header)) {
            return 0;
        }
        if (program_header.p_type != PT_NOTE) {
            continue;
        }
        const size_t alignment = program_header.p_align == 8 ? 8 : 4;
        const size_t length = findBuildIdNote(
            memory, load_bias + static_cast<uintptr_t>(program_header.p_vaddr),
            static_cast<size_t>(program_header.p_filesz), alignment, module, build_id);
        if (length > 0) {
            return length;
        }
    }
    return 0;
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

// The registers of the crashing thread, and where its stack is.
struct CapturedContext {
    LocationDescriptor location{};
    uintptr_t stack_pointer = 0;
    bool has_stack_pointer = false;
};

#if defined(__x86_64__)
CapturedContext writeContext(DumpFile& file, const ucontext_t& ucontext) {
    const auto* registers = ucontext.uc_mcontext.gregs;
    auto reg = [registers](int index) { return static_cast<uint64_t>(registers[index]); };
    ContextAmd64 context{};
    context.context_flags = kContextAmd64Control | kContextAmd64Integer;
    const uint64_t segments = reg(REG_CSGSFS);
    context.cs = static_cast<uint16_t>(segments);
    context.gs = static_cast<uint16_t>(segments >> 16);
    context.fs = static_cast<uint16_t>(segments >> 32);
    context.eflags = static_cast<uint32_t>(reg(REG_EFL));
    context.rax = reg(REG_RAX);
    context.rcx = reg(REG_RCX);
    context.rdx = reg(REG_RDX);
    context.rbx = reg(REG_RBX);
    context.rsp = reg(REG_RSP);
    context.rbp = reg(REG_RBP);
    context.rsi = reg(REG_RSI);
    context.rdi = reg(REG_RDI);
    context.r8 = reg(REG_R8);
    context.r9 = reg(REG_R9);
    context.r10 = reg(REG_R10);
    context.r11 = reg(REG_R11);
    context.r12 = reg(REG_R12);
    context.r13 = reg(REG_R13);
    context.r14 = reg(REG_R14);
    context.r15 = reg(REG_R15);
    context.rip = reg(REG_RIP);
    if (ucontext.uc_mcontext.fpregs != nullptr) {
        static_assert(sizeof(*ucontext.uc_mcontext.fpregs) == sizeof context.flt_save);
        memcpy(context.flt_save, ucontext.uc_mcontext.fpregs, sizeof context.flt_save);
        context.mx_csr = ucontext.uc_mcontext.fpregs->mxcsr;
        context.context_flags |= kContextAmd64FloatingPoint;
    }
    return {file.add(context), static_cast<uintptr_t>(context.rsp), true};
}
#elif defined(__arm__)
CapturedContext writeContext(DumpFile& file, const ucontext_t& ucontext) {
    const mcontext_t& registers = ucontext.uc_mcontext;
    ContextArm context{};
    context.context_flags = kContextArmInteger;
    const unsigned long values[16] = {
        registers.arm_r0, registers.arm_r1, registers.arm_r2,  registers.arm_r3,
        registers.arm_r4, registers.arm_r5, registers.arm_r6,  registers.arm_r7,
        registers.arm_r8, registers.arm_r9, registers.arm_r10, registers.arm_fp,
        registers.arm_ip, registers.arm_sp, registers.arm_lr,  registers.arm_pc};
    for (size_t index = 0; index < 16; ++index) {
        context.iregs[index] = static_cast<uint32_t>(values[index]);
    }
    context.cpsr = static_cast<uint32_t>(registers.arm_cpsr);
    return {file.add(context), static_cast<uintptr_t>(registers.arm_sp), true};
}
#else
// No register layout for this architecture: the dump carries no context.
CapturedContext writeContext(DumpFile&, const ucontext_t&) {
    return {};
}
#endif

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

void parseKernelVersion(const char* release, SystemInfo& system_info) {
    uint32_t* parts[] = {&system_info.major_version, &system_info.minor_version,
                         &system_info.build_number};
    const char* text = release;
    const char* end = release + strlen(release);
    for (uint32_t* part : parts) {
        uint64_t value = 0;
        const char* after = parseNumber(text, end, 10, value);
        if (after == nullptr) {
            return;
        }
        *part = static_cast<uint32_t>(value);
        if (after == end || *after != '.') {
            return;
        }
        text = after + 1;
    }
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

    bool write(int fd, const siginfo_t& info, const ucontext_t* context, pid_t thread_id);

    LocationDescriptor writeSystemInfo(DumpFile& file);
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
                                    pid_t thread_id) {
    DumpFile file(fd);
    Directory directory[kStreamCount] = {};
    uint32_t stream_count = 0;
    const uint32_t header_rva = file.allocate(sizeof(Header));
    const uint32_t directory_rva = file.allocate(sizeof directory);

    directory[stream_count++] = {kSystemInfoStream, writeSystemInfo(file)};

    const CapturedContext context =
        ucontext != nullptr ? writeContext(file, *ucontext) : CapturedContext{};
    MemoryDescriptor stack{};
    if (context.has_stack_pointer) {
        stack = writeStack(file, context.stack_pointer);
    }

    ExceptionStream exception{};
    exception.thread_id = static_cast<uint32_t>(thread_id);
    exception.exception_record.exception_code = static_cast<uint32_t>(info.si_signo);
    exception.exception_record.exception_flags = static_cast<uint32_t>(info.si_code);
    exception.exception_record.exception_address = faultAddress(info);
    exception.thread_context = context.location;
    directory[stream_count++] = {kExceptionStream, file.add(exception)};

    ThreadListOfOne threads{};
    threads.number_of_threads = 1;
    threads.thread.thread_id = static_cast<uint32_t>(thread_id);
    threads.thread.stack = stack;
    threads.thread.thread_context = context.location;
    directory[stream_count++] = {kThreadListStream, file.add(threads)};

    // Stack walkers look memory up in the memory list; the stack is all there is.
    MemoryListOfOne memory_list{};
    memory_list.range = stack;
    if (stack.memory.data_size > 0) {
        memory_list.number_of_memory_ranges = 1;
        directory[stream_count++] = {kMemoryListStream, file.add(memory_list)};
    } else {
        const uint32_t rva = file.allocate(sizeof memory_list.number_of_memory_ranges);
        file.writeAt(rva, &memory_list.number_of_memory_ranges,
                     sizeof memory_list.number_of_memory_ranges);
        directory[stream_count++] = {kMemoryListStream,
                                     {sizeof memory_list.number_of_memory_ranges, rva}};
    }

    directory[stream_count++] = {kModuleListStream, writeModuleList(file)};

    // Raw texts for the tools: the maps describe every address, the status
    // names the process and its pid.
    LocationDescriptor text{};
    if (writeFileContents(file, "/proc/self/maps", text)) {
        directory[stream_count++] = {kLinuxMapsStream, text};
    }
    if (writeFileContents(file, "/proc/self/status", text)) {
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

MemoryDescriptor MinidumpWriter::Scratch::writeStack(DumpFile& file, uintptr_t stack_pointer) {
    MemoryDescriptor stack{};
    stack.start_of_memory_range = stack_pointer;
    const int maps = openProcSelfMaps();
    if (maps < 0) {
        return stack;
    }
    Mapping mapping;
    bool found = false;
    LineReader lines(maps, line_buffer, sizeof line_buffer);
    const char* line = nullptr;
    size_t length = 0;
    while (!found && lines.next(line, length)) {
        found = parseMapsLine(line, length, mapping) && mapping.readable &&
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
    const int maps = openProcSelfMaps();
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
        if (!parseMapsLine(line, length, mapping)) {
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
    const size_t length = readBuildId(memory, candidate, build_id);
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
    return scratch_->write(fd, info, context, thread_id);
}

}  // namespace vanta
