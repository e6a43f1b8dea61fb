#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/system_command.h"

// The device's network interfaces as the kernel shows them under
// /sys/class/net. The readers take that directory (and the VLAN file) as
// parameters so that tests can lay out their own.
namespace vanta::platform {

inline constexpr const char* kSysClassNet = "/sys/class/net";
inline constexpr const char* kVlanConfigPath = "/run/sysconfig.d/vlan";
inline constexpr const char* kSysModule = "/sys/module";

// The MAC address of `interface` ("eth0"), read from <net>/<interface>/address;
// nothing when the interface is unknown or its name is not a plain name.
std::optional<std::string> get_mac_address(const std::string& interface,
                                           const std::string& net_dir = kSysClassNet);
// The same, empty when it cannot be read.
std::string get_mac_address_for_interface(const std::string& interface,
                                          const std::string& net_dir = kSysClassNet);

// "eth0.<id>" when the VLAN file holds a line "ACTIVE_VLAN=<id>", else "eth0".
std::string get_ethernet_vlan_interface(const std::string& vlan_path = kVlanConfigPath);

// The interfaces in order of preference: "wlan0" alone without Ethernet; the
// Ethernet interface (its active VLAN when there is one) and then "wlan0"
// when Ethernet is up or down. An Ethernet state the kernel reports as
// anything else (not present, dormant, ...) leaves "wlan0" alone.
std::vector<std::string> get_preferred_interface_list(
    SystemCommand& commands, const std::string& net_dir = kSysClassNet,
    const std::string& vlan_path = kVlanConfigPath);

// The MAC address of the first preferred interface.
std::string get_device_id(SystemCommand& commands, const std::string& net_dir = kSysClassNet,
                          const std::string& vlan_path = kVlanConfigPath);

// Whether one of the USB Ethernet drivers is loaded.
bool is_ethernet_supported(const std::string& module_dir = kSysModule);

}  // namespace vanta::platform
