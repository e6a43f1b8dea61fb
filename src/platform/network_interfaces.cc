#include "platform/network_interfaces.h"

#include <filesystem>
#include <fstream>

namespace vanta::platform {

namespace {

const std::string kWifiInterface = "wlan0";
const std::string kEthernetInterface = "eth0";
const std::string kActiveVlanKey = "ACTIVE_VLAN=";

// A name that stays inside the interface directory.
bool is_plain_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

std::optional<std::string> get_mac_address(const std::string& interface,
                                           const std::string& net_dir) {
    if (!is_plain_name(interface)) {
        return std::nullopt;
    }
    std::ifstream file(net_dir + "/" + interface + "/address");
    std::string address;
    if (!std::getline(file, address) || address.empty()) {
        return std::nullopt;
    }
    return address;
}

std::string get_mac_address_for_interface(const std::string& interface,
                                          const std::string& net_dir) {
    return get_mac_address(interface, net_dir).value_or("");
}

std::string get_ethernet_vlan_interface(const std::string& vlan_path) {
    std::ifstream file(vlan_path);
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, kActiveVlanKey.size(), kActiveVlanKey) == 0 &&
            line.size() > kActiveVlanKey.size()) {
            return kEthernetInterface + "." + line.substr(kActiveVlanKey.size());
        }
    }
    return kEthernetInterface;
}

std::vector<std::string> get_preferred_interface_list(SystemCommand& commands,
                                                      const std::string& net_dir,
                                                      const std::string& vlan_path) {
    const std::string operstate = net_dir + "/" + kEthernetInterface + "/operstate";
    if (!std::ifstream(operstate).is_open()) {
        return {kWifiInterface};
    }
    const std::string state = commands.system_output_string("cat " + operstate);
    if (state == "up" || state == "down") {
        return {get_ethernet_vlan_interface(vlan_path), kWifiInterface};
    }
    return {kWifiInterface};
}

std::string get_device_id(SystemCommand& commands, const std::string& net_dir,
                          const std::string& vlan_path) {
    return get_mac_address_for_interface(
        get_preferred_interface_list(commands, net_dir, vlan_path).front(), net_dir);
}

bool is_ethernet_supported(const std::string& module_dir) {
    std::error_code ignored;
    return std::filesystem::exists(module_dir + "/usbnet", ignored) ||
           std::filesystem::exists(module_dir + "/lan78xx", ignored);
}

}  // namespace vanta::platform
