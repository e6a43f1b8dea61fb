#pragma once

#include <string>

// Version and boot facts of the running system.
namespace vanta::platform {

inline constexpr const char* kVersionPath = "/mnt/base/active/version";
inline constexpr const char* kKernelCommandLinePath = "/proc/cmdline";

// The first line of the installed image's version file; "unknown" without it.
std::string get_version(const std::string& version_path = kVersionPath);
std::string get_system_version(const std::string& version_path = kVersionPath);

// Whether the device booted its alternate image.
bool is_alt_boot(const std::string& cmdline_path = kKernelCommandLinePath);

}  // namespace vanta::platform
