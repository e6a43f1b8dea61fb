// Boot loader versions, processor state, log file names and the video limits.

#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "platform/cpu_state.h"
#include "platform/log_file_names.h"
#include "platform/system_command.h"
#include "platform/system_version.h"
#include "platform/video_configuration.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

// Answers commands from a table (empty output for others); throws for the
// command named `failing`.
class ScriptedCommands final : public platform::SystemCommand {
  public:
    explicit ScriptedCommands(std::map<std::string, std::string> outputs, std::string failing = "")
        : outputs_(std::move(outputs)), failing_(std::move(failing)) {}
    int system(const std::string&) override { return 0; }
    std::string system_output_string(const std::string& command) override {
        if (command == failing_) {
            throw std::runtime_error("popen() failed!");
        }
        return outputs_[command];
    }
    std::vector<std::string> system_output_line(const std::string& command) override {
        return {system_output_string(command)};
    }

  private:
    std::map<std::string, std::string> outputs_;
    std::string failing_;
};

const std::string kFindBootDevice = "/bin/df /mnt/base | grep /mnt/base | cut -f 1 -d ' '";
const std::string kAskFlash = "/usr/bin/uboot-utils -e /dev/mmcblk0p2 -q -p | grep 'uboot ver'";

TEST(BootLoaderVersion, IsCutFromTheLineOfTheImage) {
    TempDir dir;
    const auto path = (dir.path() / "uboot_versions").string();
    EXPECT_EQ(platform::get_uboot_version_info("primary", path), "unknown");
    std::ofstream(path) << "primary:U-Boot 2021.04-vanta3 (Jan 01 2026)\n"
                           "secondary:U-Boot\n";
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
    std::ofstream(path) << "cpu  10 2 30 400 5 6 7 8 0 0\ncpu0 1 1 1 1 1 1 1 1 0 0\n";
    const auto data = platform::read_cpu_data(path);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->user, 10u);
    EXPECT_EQ(data->system, 30u);
    EXPECT_EQ(data->idle, 400u);
    EXPECT_EQ(data->steal, 8u);
    std::ofstream(path) << "cpu  10 2\n";
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

}  // namespace
}  // namespace vanta::testing
