#pragma once

#include <memory>
#include <string>

namespace vanta {

constexpr const char* kCrashDumpDirectory = "/crashlog/dumpfiles";

// Writes a minidump when the process crashes. The process keeps one for its
// whole life; destroying it uninstalls the signal handlers.
class CrashHandler {
  public:
    virtual ~CrashHandler() = default;
};

// Installs the crash handler for the process `name`. Dumps go to
// `dump_directory` and are renamed "<name>_<pid>_<file name>" after writing.
std::unique_ptr<CrashHandler> getCrashHandler(
    const std::string& name, const std::string& dump_directory = kCrashDumpDirectory);

}  // namespace vanta
