// Device facts read from the manufacturing data, /sys and /proc, against
// files laid out in a temporary directory, and from system commands, against
// scripted answers: boot loader versions, processor state, log file names, the
// video limits and the device identifier.

#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "platform/cpu_state.h"
#include "platform/device_identity.h"
#include "platform/log_file_names.h"
#include "platform/manufacturing_data.h"
#include "platform/network_interfaces.h"
#include "platform/platform_info.h"
#include "platform/system_command.h"
#include "platform/system_version.h"
#include "platform/video_configuration.h"
#include "support/data_files.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    write_text(path, content);
}

// Answers commands from a table (empty output for others) and records what
// it was asked; throws for the command named `failing`.
class ScriptedCommands final : public platform::SystemCommand {
  public:
    explicit ScriptedCommands(std::map<std::string, std::string> outputs, std::string failing = "")
        : outputs_(std::move(outputs)), failing_(std::move(failing)) {}
    int system(const std::string& command) override {
        asked.push_back(command);
        return 0;
    }
    std::string system_output_string(const std::string& command) override {
        asked.push_back(command);
        if (command == failing_) {
            throw std::runtime_error("popen() failed!");
        }
        return outputs_[command];
    }
    std::vector<std::string> system_output_line(const std::string& command) override {
        return {system_output_string(command)};
    }
    std::vector<std::string> asked;

  private:
    std::map<std::string, std::string> outputs_;
    std::string failing_;
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
    ScriptedCommands commands({});
    EXPECT_EQ(platform::get_preferred_interface_list(commands, net(), vlan()),
              std::vector<std::string>{"wlan0"});
    EXPECT_TRUE(commands.asked.empty());
    EXPECT_EQ(platform::get_device_id(commands, net(), vlan()), "00:11:22:33:44:66");
}

TEST_F(NetworkInterfacesTest, EthernetUpOrDownComesFirstOtherStatesLeaveWifiAlone) {
    add_interface("eth0", "00:11:22:33:44:55", "down");
    ScriptedCommands down({{operstate_command(), "down"}});
    EXPECT_EQ(platform::get_preferred_interface_list(down, net(), vlan()),
              (std::vector<std::string>{"eth0", "wlan0"}));
    EXPECT_EQ(down.asked, std::vector<std::string>{operstate_command()});
    EXPECT_EQ(platform::get_device_id(down, net(), vlan()), "00:11:22:33:44:55");

    ScriptedCommands dormant({{operstate_command(), "dormant"}});
    EXPECT_EQ(platform::get_preferred_interface_list(dormant, net(), vlan()),
              std::vector<std::string>{"wlan0"});
}

TEST_F(NetworkInterfacesTest, AnActiveVlanNamesTheEthernetInterface) {
    add_interface("eth0", "00:11:22:33:44:55");
    write_file(vlan(), "VLAN_ENABLED=1\nACTIVE_VLAN=42\n");
    ScriptedCommands up({{operstate_command(), "up"}});
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

const std::string kFindBootDevice = "/bin/df /mnt/base | grep /mnt/base | cut -f 1 -d ' '";
const std::string kAskFlash = "/usr/bin/uboot-utils -e /dev/mmcblk0p2 -q -p | grep 'uboot ver'";

TEST(BootLoaderVersion, IsCutFromTheLineOfTheImage) {
    TempDir dir;
    const auto path = (dir.path() / "uboot_versions").string();
    EXPECT_EQ(platform::get_uboot_version_info("primary", path), "unknown");
    write_text(path, "primary:U-Boot 2021.04-vanta3 (Jan 01 2026)\nsecondary:U-Boot\n");
    EXPECT_EQ(platform::get_uboot_version_info("primary", path), "2021.04-vanta3 (Jan 01 2026)");
    EXPECT_EQ(platform::get_uboot_version_info("secondary", path), "invalid version string");
    EXPECT_EQ(platform::get_uboot_version_info("tertiary", path), "unknown");
}

TEST(BootLoaderVersion, FlashIsAskedOnlyOnAnMmcBootDevice) {
    ScriptedCommands on_mmc({{kFindBootDevice, "/dev/mmcblk0p2"},
                             {kAskFlash, "primary uboot ver = U-Boot 2021.04-vanta3"}});
    EXPECT_EQ(platform::get_uboot_version_info_from_flash(on_mmc), "2021.04-vanta3");

    ScriptedCommands on_nfs({{kFindBootDevice, "server:/export"}});
    EXPECT_EQ(platform::get_uboot_version_info_from_flash(on_nfs), "device not found");
    ScriptedCommands silent({{kFindBootDevice, "/dev/mmcblk0p2"}});
    EXPECT_EQ(platform::get_uboot_version_info_from_flash(silent), "no version found");
    ScriptedCommands odd({{kFindBootDevice, "/dev/mmcblk0p2"}, {kAskFlash, "uboot ver: 1"}});
    EXPECT_EQ(platform::get_uboot_version_info_from_flash(odd), "unknown version string");
    ScriptedCommands broken({}, kFindBootDevice);
    EXPECT_EQ(platform::get_uboot_version_info_from_flash(broken), "unknown");
}

TEST(CpuState, ReadsTheCpuLineOfProcStat) {
    TempDir dir;
    const auto path = (dir.path() / "stat").string();
    EXPECT_FALSE(platform::read_cpu_data(path));
    write_text(path, "cpu  10 2 30 400 5 6 7 8 0 0\ncpu0 1 1 1 1 1 1 1 1 0 0\n");
    const auto data = platform::read_cpu_data(path);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->user, 10u);
    EXPECT_EQ(data->system, 30u);
    EXPECT_EQ(data->idle, 400u);
    EXPECT_EQ(data->steal, 8u);
    write_text(path, "cpu  10 2\n");
    EXPECT_FALSE(platform::read_cpu_data(path));
}

TEST(CpuState, TemperatureOrUnknown) {
    const std::string command = "cat /sys/class/thermal/thermal_zone0/temp";
    ScriptedCommands warm({{command, "48500"}});
    EXPECT_EQ(platform::get_cpu_temperature(warm), "48500");
    ScriptedCommands none({});
    EXPECT_EQ(platform::read_cpu_temperature(none), "unknown");
    ScriptedCommands broken({}, command);
    EXPECT_EQ(platform::read_cpu_temperature(broken), "unknown");
}

TEST(LogFileNames, CarryTheTimeInUtc) {
    // 2026-12-06 02:03:04 UTC
    const auto when = std::chrono::system_clock::from_time_t(1796522584);
    EXPECT_EQ(platform::get_timestamp(when), "20261206-0203-");
    EXPECT_EQ(platform::get_output_log_filename("audio", when),
              "/tmp/log-audio-20261206-020304-.tar.gz");
}

TEST(VideoConfiguration, GivesTheDecodeLimits) {
    const auto video = platform::get_video_configuration()["video"];
    EXPECT_TRUE(video["devices"].is_null());
    EXPECT_TRUE(video["standard"].is_null());
    EXPECT_EQ(video["decode_resolution"]["max_width"], 2048);
    EXPECT_EQ(video["decode_resolution"]["max_height"], 2048);
    EXPECT_EQ(video["decode_resolution"]["max_resolution"], 2088960);
}

// Against a value computed independently (SHA-1 and an RFC 4122 version-5
// UUID of another implementation).
TEST(DeviceIdentity, IsTheVersion5UuidOfTheDigestOfSecondThenFirst) {
    EXPECT_EQ(deviceidentifier::get_device_identifier("00:11:22:33:44:55", "FOC1234X0AB"),
              "4b9f8d52-7e97-5d4a-963c-323d53e79985");
}

}  // namespace
}  // namespace vanta::testing
