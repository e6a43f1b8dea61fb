#pragma once

#include <cstddef>
#include <cstdint>

// The records of a minidump file. Every field is little-endian, structures are
// packed, and offsets in the file ("RVA"s) are 32-bit.
namespace vanta::minidump {

constexpr uint32_t kMinidumpSignature = 0x504d444d;  // "MDMP"
constexpr uint32_t kMinidumpVersion = 0xa793;

constexpr uint32_t kThreadListStream = 3;
constexpr uint32_t kModuleListStream = 4;
constexpr uint32_t kMemoryListStream = 5;
constexpr uint32_t kExceptionStream = 6;
constexpr uint32_t kSystemInfoStream = 7;
constexpr uint32_t kLinuxProcStatusStream = 0x47670004;
constexpr uint32_t kLinuxMapsStream = 0x47670009;

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
static_assert(sizeof(Module) == 108);
static_assert(sizeof(ContextAmd64) == 1232);
static_assert(offsetof(ContextAmd64, rip) == 248);
static_assert(offsetof(ContextAmd64, flt_save) == 256);
static_assert(sizeof(ContextArm) == 368);

}  // namespace vanta::minidump
