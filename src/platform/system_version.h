#pragma once

#include <string>

#include "platform/system_command.h"

// Version and boot facts of the running system.
namespace vanta::platform {

inline constexpr const char* kVersionPath = "/mnt/base/active/version";
inline constexpr const char* kKernelCommandLinePath = "/proc/cmdline";
inline constexpr const char* kUbootVersionsPath = "/tmp/.uboot_versions";

// The first line of the installed image's version file; "unknown" without it.
std::string get_version(const std::string& version_path = kVersionPath);
std::string get_system_version(const std::string& version_path = kVersionPath);

// The boot loader version of `image` ("primary" or "secondary") from the
// versions file, whose lines read "<image>:U-Boot <version>": the text after
// "U-Boot ", "invalid version string" when the line has none, "unknown"
// without the file or the line.
std::string get_uboot_version_info(const std::string& image,
                                   const std::string& versions_path = kUbootVersionsPath);
// The primary boot loader version read from the boot device's flash with the
// boot loader tools; "device not found" when the base image is not on an MMC
// device, "no version found", "unknown version string" or "unknown" when the
// tool's answer gives none.
std::string get_uboot_version_info_from_flash(SystemCommand& commands);

// Whether the device booted its alternate image.
bool is_alt_boot(const std::string& cmdline_path = kKernelCommandLinePath);

}  // namespace vanta::platform
