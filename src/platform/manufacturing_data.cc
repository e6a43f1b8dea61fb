#include "platform/manufacturing_data.h"

#include <fstream>
#include <map>

#include "platform/platform_info.h"

namespace vanta::platform {

namespace {
const std::string kFirstRevisionWithMics = "0400";
}  // namespace

std::string get_info_from_mfg_data(const std::string& key, const std::string& sysinfo_path) {
    std::ifstream sysinfo(sysinfo_path);
    for (std::string line; std::getline(sysinfo, line);) {
        if (line.compare(0, key.size(), key) == 0) {
            return line.substr(key.size());
        }
    }
    return kUnknown;
}

std::string get_mfg_device_serial_number(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("system.serial=", sysinfo_path);
}
std::string get_mfg_device_pid(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("system.device_pid=", sysinfo_path);
}
std::string get_mfg_device_hardware_ver(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("system.hardware_ver=", sysinfo_path);
}
std::string get_mfg_device_version_id(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("system.version_id=", sysinfo_path);
}
std::string get_mfg_device_eth_mac_addr(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("network.eth_mac_addr=", sysinfo_path);
}
std::string get_mfg_device_wifi_mac_addr(const std::string& sysinfo_path) {
    return get_info_from_mfg_data("network.wifi_mac_addr=", sysinfo_path);
}

std::string get_device_pid(const std::string& sysinfo_path) {
    const std::string pid = get_mfg_device_pid(sysinfo_path);
    return pid == kUnknown ? get_default_device_pid() : pid;
}

int get_number_of_mics(const std::string& sysinfo_path) {
    return get_mfg_device_hardware_ver(sysinfo_path) >= kFirstRevisionWithMics ? 2 : 0;
}

bool is_vad_supported(const std::string& sysinfo_path) {
    return get_mfg_device_hardware_ver(sysinfo_path) >= kFirstRevisionWithMics;
}

std::string get_resource_filepath(const std::string& resource) {
    static const std::map<std::string, std::string> resources = {
        {"UBOOT_VERSION", "/usr/share/uboot/uboot_version"},
        {"UBOOT_P3_VERSION", "/usr/share/uboot/uboot_p3_version"},
    };
    const auto found = resources.find(resource);
    return found == resources.end() ? std::string() : found->second;
}

std::string get_uboot_version_path(const std::string& sysinfo_path) {
    return get_resource_filepath(
        get_mfg_device_hardware_ver(sysinfo_path) == "0300" ? "UBOOT_P3_VERSION" : "UBOOT_VERSION");
}

}  // namespace vanta::platform
