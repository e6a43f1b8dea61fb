#pragma once

// Reads a crash dump that the daemon's crash handler wrote, by the published
// minidump layout alone (nothing of the writer's), into what a developer
// looks at: the crash, the system, each thread with its registers and stack,
// the loaded modules with their build ids, and the process's maps and status
// as they were.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vanta::dumpreader {

// Stream types of the minidump directory.
constexpr uint32_t kThreadListStream = 3;
constexpr uint32_t kModuleListStream = 4;
constexpr uint32_t kMemoryListStream = 5;
constexpr uint32_t kExceptionStream = 6;
constexpr uint32_t kSystemInfoStream = 7;
constexpr uint32_t kLinuxProcStatusStream = 0x47670004;
constexpr uint32_t kLinuxMapsStream = 0x47670009;

// Values of the system info stream.
constexpr uint16_t kArchitectureArm = 5;
constexpr uint16_t kArchitectureAmd64 = 9;
constexpr uint32_t kPlatformLinux = 0x8201;

// Where a stream or a thread's context lies in the file.
struct Location {
    uint32_t size = 0;
    uint32_t rva = 0;
};

struct DumpThread {
    uint32_t id = 0;
    uint64_t stack_start = 0;
    std::vector<uint8_t> stack;
    Location context;
    // Read from an AMD64 or ARM context; absent for other architectures.
    std::optional<uint64_t> instruction_pointer;
    std::optional<uint64_t> stack_pointer;
};

struct DumpModule {
    uint64_t base = 0;
    uint32_t size = 0;
    std::string name;
    // The GNU build id of the module's file, empty when it has none.
    std::vector<uint8_t> build_id;
};

// A stream the dump left out shows as the empty fields read from it.
struct Minidump {
    std::map<uint32_t, Location> streams;

    uint16_t architecture = 0;
    uint8_t processors = 0;
    uint32_t platform = 0;

    // The crash: the signal's thread, number, code and fault address.
    uint32_t exception_thread = 0;
    uint32_t exception_code = 0;
    uint32_t exception_flags = 0;
    uint64_t exception_address = 0;
    Location exception_context;

    // The crashing thread first.
    std::vector<DumpThread> threads;
    // start, size
    std::vector<std::pair<uint64_t, uint32_t>> memory_ranges;
    std::vector<DumpModule> modules;
    std::string maps;
    std::string status;

    // The module whose mapping holds `address`, or null.
    const DumpModule* module_at(uint64_t address) const;
};

// Throws std::runtime_error when the file cannot be read, is not a minidump
// ("MDMP", format version 0xa793) or a field lies past its end.
Minidump read_minidump(const std::filesystem::path& path);

}  // namespace vanta::dumpreader
