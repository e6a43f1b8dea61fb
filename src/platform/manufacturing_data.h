#pragma once

#include <string>

// The device's manufacturing data ("key=value" lines written at the factory)
// and the rules that depend on the hardware revision. Every reader takes the
// file as a parameter so that tests can give it their own.
namespace vanta::platform {

inline constexpr const char* kSysinfoPath = "/var/log/sysinfo.txt";
inline constexpr const char* kUnknown = "unknown";

// The rest of the first line that begins with `key` ("system.serial="), or
// "unknown" when the file or the key is missing.
std::string get_info_from_mfg_data(const std::string& key,
                                   const std::string& sysinfo_path = kSysinfoPath);

std::string get_mfg_device_serial_number(const std::string& sysinfo_path = kSysinfoPath);
std::string get_mfg_device_pid(const std::string& sysinfo_path = kSysinfoPath);
std::string get_mfg_device_hardware_ver(const std::string& sysinfo_path = kSysinfoPath);
std::string get_mfg_device_version_id(const std::string& sysinfo_path = kSysinfoPath);
std::string get_mfg_device_eth_mac_addr(const std::string& sysinfo_path = kSysinfoPath);
std::string get_mfg_device_wifi_mac_addr(const std::string& sysinfo_path = kSysinfoPath);

// The manufacturing product id, or the model's own when it is "unknown".
std::string get_device_pid(const std::string& sysinfo_path = kSysinfoPath);

// Hardware revisions are four-digit texts ("0400") compared as strings.
// Revision 0400 and later carry two microphones and voice detection.
int get_number_of_mics(const std::string& sysinfo_path = kSysinfoPath);
bool is_vad_supported(const std::string& sysinfo_path = kSysinfoPath);

// The file of a named resource of this model ("UBOOT_VERSION"); empty for a
// name the model does not know.
std::string get_resource_filepath(const std::string& resource);
// Revision 0300 boards keep their boot loader version in a resource of their own.
std::string get_uboot_version_path(const std::string& sysinfo_path = kSysinfoPath);

}  // namespace vanta::platform
