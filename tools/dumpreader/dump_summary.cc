#include "tools/dumpreader/dump_summary.h"

#include <signal.h>
#include <string.h>

#include <iterator>
#include <string_view>

#include <fmt/format.h>

namespace vanta::dumpreader {
namespace {

// The value of a "<key>:\t<value>" line of /proc/<pid>/status, or "?".
std::string status_field(const std::string& status, const std::string& key) {
    const std::string text = "\n" + status;
    const std::string line_start = "\n" + key + ":\t";
    const size_t at = text.find(line_start);
    if (at == std::string::npos) {
        return "?";
    }
    const size_t value = at + line_start.size();
    return text.substr(value, text.find('\n', value) - value);
}

std::string signal_name(uint32_t number) {
    const char* abbreviation = sigabbrev_np(static_cast<int>(number));
    return abbreviation != nullptr ? std::string("SIG") + abbreviation : "signal";
}

std::string_view architecture_name(uint16_t architecture) {
    switch (architecture) {
        case kArchitectureArm:
            return "arm";
        case kArchitectureAmd64:
            return "amd64";
        default:
            return "unknown architecture";
    }
}

// "<module>+0x<offset>", or the bare address outside every module.
std::string code_location(const Minidump& dump, uint64_t address) {
    if (const DumpModule* module = dump.module_at(address)) {
        return fmt::format("{}+{:#x}", module->name, address - module->base);
    }
    return fmt::format("{:#x}", address);
}

}  // namespace

std::string summarize(const Minidump& dump) {
    fmt::memory_buffer out;
    const auto line = [&out](auto&&... args) {
        fmt::format_to(std::back_inserter(out), std::forward<decltype(args)>(args)...);
        out.push_back('\n');
    };
    line("process {} (pid {})", status_field(dump.status, "Name"),
         status_field(dump.status, "Pid"));
    if (dump.streams.count(kExceptionStream) == 0) {
        line("crash: none recorded");
    } else {
        // The signal's code is signed: negative for a signal sent by a process.
        line("crash: {} ({}), code {}, fault address {:#x}, in thread {}",
             signal_name(dump.exception_code), dump.exception_code,
             static_cast<int32_t>(dump.exception_flags), dump.exception_address,
             dump.exception_thread);
    }
    line("system: {}, {} processors{}", architecture_name(dump.architecture), dump.processors,
         dump.platform == kPlatformLinux ? ", linux" : "");
    line("threads: {}", dump.threads.size());
    for (const DumpThread& thread : dump.threads) {
        const std::string crashed = thread.id == dump.exception_thread ? " (crashed)" : "";
        if (thread.instruction_pointer && thread.stack_pointer) {
            line("  {}{}: at {}, stack pointer {:#x}, {} bytes of stack", thread.id, crashed,
                 code_location(dump, *thread.instruction_pointer), *thread.stack_pointer,
                 thread.stack.size());
        } else {
            line("  {}{}: registers unknown, {} bytes of stack", thread.id, crashed,
                 thread.stack.size());
        }
    }
    line("modules: {}", dump.modules.size());
    for (const DumpModule& module : dump.modules) {
        std::string build_id;
        for (const uint8_t byte : module.build_id) {
            build_id += fmt::format("{:02x}", byte);
        }
        line("  {:#x}-{:#x} {}{}{}", module.base, module.base + module.size, module.name,
             build_id.empty() ? "" : " build id ", build_id);
    }
    return fmt::to_string(out);
}

}  // namespace vanta::dumpreader
