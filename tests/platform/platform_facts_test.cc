// Device facts read from the manufacturing data and /sys, against files laid
// out in a temporary directory.

#include <fstream>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "platform/manufacturing_data.h"
#include "platform/network_interfaces.h"
#include "platform/platform_info.h"
#include "platform/system_command.h"
#include "platform/system_version.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << content;
}

// Answers commands from a table; records what it was asked.
class CannedCommands final : public platform::SystemCommand {
  public:
    explicit CannedCommands(std::map<std::string, std::string> outputs)
        : outputs_(std::move(outputs)) {}
    int system(const std::string& command) override {
        asked.push_back(command);
        return 0;
    }
    std::string system_output_string(const std::string& command) override {
        asked.push_back(command);
        return outputs_[command];
    }
    std::vector<std::string> system_output_line(const std::string& command) override {
        return {system_output_string(command)};
    }
    std::vector<std::string> asked;

  private:
    std::map<std::string, std::string> outputs_;
};

class ManufacturingDataTest : public ::testing::Test {
  protected:
    std::string sysinfo(const std::string& content) {
        write_file(path_, content);
        return path_.string();
    }
    TempDir dir_;
    fs::path path_ = dir_.path() / "sysinfo.txt";
};

TEST_F(ManufacturingDataTest, ReadsTheRestOfTheLineOfEachKey) {
    const auto file = sysinfo(
        "system.serial=FOC1234X0AB\n"
        "system.device_pid=VRK-10-K9=X\n"
        "system.hardware_ver=0400\n"
        "network.eth_mac_addr=00:11:22:33:44:55\n"
        "network.wifi_mac_addr=00:11:22:33:44:66\n");
    EXPECT_EQ(platform::get_mfg_device_serial_number(file), "FOC1234X0AB");
    // Only the key is cut off, later "=" stay.
    EXPECT_EQ(platform::get_mfg_device_pid(file), "VRK-10-K9=X");
    EXPECT_EQ(platform::get_mfg_device_hardware_ver(file), "0400");
    EXPECT_EQ(platform::get_mfg_device_eth_mac_addr(file), "00:11:22:33:44:55");
    EXPECT_EQ(platform::get_mfg_device_wifi_mac_addr(file), "00:11:22:33:44:66");
    EXPECT_EQ(platform::get_device_pid(file), "VRK-10-K9=X");
}

TEST_F(ManufacturingDataTest, MissingKeyOrFileGivesUnknown) {
    const auto file = sysinfo("system.hardware_ver=0400\nxsystem.serial=NOTME\n");
    EXPECT_EQ(platform::get_mfg_device_serial_number(file), "unknown");
    EXPECT_EQ(platform::get_mfg_device_version_id(file), "unknown");
    const std::string missing = (dir_.path() / "absent.txt").string();
    EXPECT_EQ(platform::get_mfg_device_hardware_ver(missing), "unknown");
    // Without a product id the model's own stands in.
    EXPECT_EQ(platform::get_device_pid(missing), platform::get_default_device_pid());
}

TEST_F(ManufacturingDataTest, HardwareRevisionDecidesMicrophonesVadAndBootLoaderResource) {
    EXPECT_EQ(platform::get_number_of_mics(sysinfo("system.hardware_ver=0399\n")), 0);
    EXPECT_FALSE(platform::is_vad_supported(path_.string()));
    EXPECT_EQ(platform::get_number_of_mics(sysinfo("system.hardware_ver=0400\n")), 2);
    EXPECT_TRUE(platform::is_vad_supported(path_.string()));
    EXPECT_EQ(platform::get_number_of_mics(sysinfo("system.hardware_ver=0501\n")), 2);

    EXPECT_EQ(platform::get_uboot_version_path(sysinfo("system.hardware_ver=0300\n")),
              platform::get_resource_filepath("UBOOT_P3_VERSION"));
    EXPECT_EQ(platform::get_uboot_version_path(sysinfo("system.hardware_ver=0301\n")),
              platform::get_resource_filepath("UBOOT_VERSION"));
    EXPECT_NE(platform::get_resource_filepath("UBOOT_P3_VERSION"),
              platform::get_resource_filepath("UBOOT_VERSION"));
}

class NetworkInterfacesTest : public ::testing::Test {
  protected:
    std::string net() const { return (dir_.path() / "net").string(); }
    std::string vlan() const { return (dir_.path() / "vlan").string(); }
    void add_interface(const std::string& name, const std::string& mac,
                       const std::string& state = "up") {
        write_file(dir_.path() / "net" / name / "address", mac + "\n");
        write_file(dir_.path() / "net" / name / "operstate", state + "\n");
    }
    std::string operstate_command() const { return "cat " + net() + "/eth0/operstate"; }

    TempDir dir_;
};

TEST_F(NetworkInterfacesTest, WithoutEthernetOnlyWifiIsPreferred) {
    add_interface("wlan0", "00:11:22:33:44:66");
    CannedCommands commands({});
    EXPECT_EQ(platform::get_preferred_interface_list(commands, net(), vlan()),
              std::vector<std::string>{"wlan0"});
    EXPECT_TRUE(commands.asked.empty());
    EXPECT_EQ(platform::get_device_id(commands, net(), vlan()), "00:11:22:33:44:66");
}

TEST_F(NetworkInterfacesTest, EthernetUpOrDownComesFirstOtherStatesLeaveWifiAlone) {
    add_interface("eth0", "00:11:22:33:44:55", "down");
    CannedCommands down({{operstate_command(), "down"}});
    EXPECT_EQ(platform::get_preferred_interface_list(down, net(), vlan()),
              (std::vector<std::string>{"eth0", "wlan0"}));
    EXPECT_EQ(down.asked, std::vector<std::string>{operstate_command()});
    EXPECT_EQ(platform::get_device_id(down, net(), vlan()), "00:11:22:33:44:55");

    CannedCommands dormant({{operstate_command(), "dormant"}});
    EXPECT_EQ(platform::get_preferred_interface_list(dormant, net(), vlan()),
              std::vector<std::string>{"wlan0"});
}

TEST_F(NetworkInterfacesTest, AnActiveVlanNamesTheEthernetInterface) {
    add_interface("eth0", "00:11:22:33:44:55");
    write_file(vlan(), "VLAN_ENABLED=1\nACTIVE_VLAN=42\n");
    CannedCommands up({{operstate_command(), "up"}});
    EXPECT_EQ(platform::get_preferred_interface_list(up, net(), vlan()),
              (std::vector<std::string>{"eth0.42", "wlan0"}));
    write_file(vlan(), "ACTIVE_VLAN=\n");
    EXPECT_EQ(platform::get_ethernet_vlan_interface(vlan()), "eth0");
}

TEST_F(NetworkInterfacesTest, MacAddressOnlyForPlainInterfaceNames) {
    add_interface("eth0", "00:11:22:33:44:55");
    write_file(dir_.path() / "address", "aa:aa:aa:aa:aa:aa\n");
    EXPECT_EQ(platform::get_mac_address("eth0", net()), "00:11:22:33:44:55");
    EXPECT_FALSE(platform::get_mac_address("wlan0", net()));
    EXPECT_FALSE(platform::get_mac_address("", net()));
    // A name must not climb out of the interface directory.
    EXPECT_FALSE(platform::get_mac_address("..", net()));
    EXPECT_FALSE(platform::get_mac_address("eth0/../..", net()));
    EXPECT_EQ(platform::get_mac_address_for_interface("wlan0", net()), "");
}

TEST(PlatformFacts, EthernetSupportFollowsTheUsbDrivers) {
    TempDir dir;
    EXPECT_FALSE(platform::is_ethernet_supported(dir.path().string()));
    fs::create_directories(dir.path() / "lan78xx");
    EXPECT_TRUE(platform::is_ethernet_supported(dir.path().string()));
}

TEST(PlatformFacts, VersionIsTheFirstLineAndUnknownWithoutFile) {
    TempDir dir;
    const auto version = dir.path() / "version";
    EXPECT_EQ(platform::get_system_version(version.string()), "unknown");
    write_file(version, "2.4.1-rc3\nbuilt somewhere\n");
    EXPECT_EQ(platform::get_system_version(version.string()), "2.4.1-rc3");

    const auto cmdline = dir.path() / "cmdline";
    write_file(cmdline, "console=ttymxc0 root=/dev/mmcblk0p2\n");
    EXPECT_FALSE(platform::is_alt_boot(cmdline.string()));
    write_file(cmdline, "console=ttymxc0 alt_boot_image=1\n");
    EXPECT_TRUE(platform::is_alt_boot(cmdline.string()));
}

TEST(PlatformFacts, DerivedSwitchesFollowTheModes) {
    // Main audio and video are off on this model, presentation is on.
    EXPECT_FALSE(platform::is_main_audio_supported());
    EXPECT_TRUE(platform::is_presentation_audio_supported());
    EXPECT_FALSE(platform::is_main_video_rendering_supported());
    EXPECT_TRUE(platform::is_presentation_rendering_supported());
    EXPECT_EQ(platform::get_halden_cert_path(), "/storage/truststore/glint_ca_list/halden_domains");
}

TEST(SystemCommand, OutputIsTrimmedOrSplitIntoLines) {
    auto commands = platform::create_system_wrapper();
    EXPECT_EQ(commands->system_output_string("printf '  one\\ntwo \\n\\n'"), "one\ntwo");
    EXPECT_EQ(commands->system_output_line("printf 'a\\nb\\n'"),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(commands->system("exit 0"), 0);
    EXPECT_NE(commands->system("exit 3"), 0);
    // Output longer than one read.
    EXPECT_EQ(commands->system_output_string("head -c 2000 /dev/zero | tr '\\0' x").size(), 2000u);
}

}  // namespace
}  // namespace vanta::testing
