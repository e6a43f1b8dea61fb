#include "platform/system_version.h"

#include <fstream>
#include <sstream>

#include "platform/manufacturing_data.h"

namespace vanta::platform {

std::string get_version(const std::string& version_path) {
    std::ifstream file(version_path);
    std::string version;
    if (!std::getline(file, version)) {
        return kUnknown;
    }
    return version;
}

std::string get_system_version(const std::string& version_path) {
    return get_version(version_path);
}

std::string get_uboot_version_info(const std::string& image, const std::string& versions_path) {
    const std::string prefix = image + ":U-Boot";
    const std::string marker = "U-Boot ";
    std::ifstream file(versions_path);
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const auto start = line.find(marker);
        if (start == std::string::npos || start + marker.size() >= line.size()) {
            return "invalid version string";
        }
        return line.substr(start + marker.size());
    }
    return kUnknown;
}

std::string get_uboot_version_info_from_flash(SystemCommand& commands) {
    const std::string mmc_device = "/dev/mmcblk";
    const std::string answer_prefix = "primary uboot ver = U-Boot";
    try {
        const std::string device =
            commands.system_output_string("/bin/df /mnt/base | grep /mnt/base | cut -f 1 -d ' '");
        if (device.compare(0, mmc_device.size(), mmc_device) != 0) {
            return "device not found";
        }
        const std::string answer = commands.system_output_string(
            "/usr/bin/uboot-utils -e " + device + " -q -p | grep 'uboot ver'");
        if (answer.empty()) {
            return "no version found";
        }
        if (answer.compare(0, answer_prefix.size(), answer_prefix) != 0) {
            return "unknown version string";
        }
        const auto version = answer.find_first_not_of(' ', answer_prefix.size());
        return version == std::string::npos ? kUnknown : answer.substr(version);
    } catch (const std::exception&) {
        return kUnknown;
    }
}

bool is_alt_boot(const std::string& cmdline_path) {
    std::ifstream file(cmdline_path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str().find("alt_boot_image") != std::string::npos;
}

}  // namespace vanta::platform
