// The vantaapid binary: the modes of its sockets, and how a bus message that
// a plugin refuses (from a fake bus broker on the device's bus sockets) or a
// socket that cannot be made ends it.

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "event_stream.h"
#include "sim/bus_broker.h"
#include "support/bus_translation_table.h"
#include "support/running_program.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

const std::string kSocketPath = "/tmp/vantaapi_service";
const std::string kGatewaySocketPath = "/tmp/zapigateway";
// The daemon starts under this umask.
constexpr mode_t kDaemonUmask = 027;

mode_t socket_mode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    EXPECT_TRUE(S_ISSOCK(info.st_mode)) << path;
    return info.st_mode & 07777;
}

// The API socket is opened to everyone whatever the umask; the gateway's keeps
// the mode it was created with, so only its owner's group reaches it. How the
// running daemon delivers bus events is seen in the end-to-end tests, how it
// ends on SIGTERM in the runtime tests.
TEST(DaemonSockets, TheApisIsOpenToEveryoneTheGatewaysToItsOwnersGroup) {
    const mode_t test_umask = ::umask(kDaemonUmask);
    RunningProgram daemon({VANTAAPID_PATH}, RunningProgram::Output::discarded);
    ::umask(test_umask);
    for (const std::string& path : {kSocketPath, kGatewaySocketPath}) {
        ASSERT_TRUE(wait_until([&] { return access(path.c_str(), F_OK) == 0; }, 10s))
            << "the daemon never listened on " << path;
    }
    EXPECT_EQ(socket_mode(kSocketPath), 0666u);
    EXPECT_EQ(socket_mode(kGatewaySocketPath), 0777u & ~kDaemonUmask);
}

// Whether the crash-dump folder is this test's own (an empty file system
// mounted for it), so that a dump written there is the daemon's and goes with
// the test.
bool crash_folder_is_private() {
    struct statfs info {};
    return statfs("/crashlog", &info) == 0 && info.f_type == TMPFS_MAGIC;
}

std::vector<std::filesystem::path> dumps() {
    std::vector<std::filesystem::path> files;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/crashlog/dumpfiles", ignored)) {
        files.push_back(entry.path());
    }
    return files;
}

// Nothing on the bus reader's thread catches a plugin's error: a bus message
// that a plugin refuses (a number that does not read, packed data that does
// not decode) ends the daemon through the crash handler, which leaves a dump
// named after the daemon and its process id, and no event is published. One
// message of each kind of error the translation raises.
TEST(DaemonBusErrors, ARefusedBusMessageEndsTheDaemonWithADump) {
    std::map<Raises, Row> first_of_each_kind;
    for (Row& row : translation_table()) {
        if (row.raises != Raises::nothing) {
            first_of_each_kind.emplace(row.raises, std::move(row));
        }
    }
    ASSERT_EQ(first_of_each_kind.size(), 3u);
    const bool dumps_seen = crash_folder_is_private();
    if (!dumps_seen) {
        std::cout << "no private /crashlog on this machine: dumps are not looked at\n";
    }
    for (const auto& [kind, row] : first_of_each_kind) {
        SCOPED_TRACE(row.topic + " event " + std::to_string(row.event) + " data \"" + row.data +
                     "\"");
        const size_t dumps_before = dumps_seen ? dumps().size() : 0;
        sim::BusBroker broker(sim::BusBroker::kDeviceAddresses);
        RunningProgram daemon({VANTAAPID_PATH}, RunningProgram::Output::discarded);
        ASSERT_TRUE(broker.wait_for_open_streams("VantaApi", 1, 10s));
        auto stub = vantaapi::VantaApi::NewStub(
            grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials()));
        EventStream stream(*stub);
        ASSERT_EQ(stream.wait_for(1).size(), 1u);

        broker.deliver(bus_message(row));
        const auto status = daemon.wait_for_exit(10s);
        ASSERT_TRUE(status) << "still running";
        EXPECT_EQ(*status, 128 + SIGABRT);
        EXPECT_EQ(stream.wait_for(2, 100ms).size(), 1u);
        if (dumps_seen) {
            const auto files = dumps();
            ASSERT_EQ(files.size(), dumps_before + 1);
            const std::string prefix = "vantaapid_" + std::to_string(daemon.pid()) + "_";
            EXPECT_EQ(std::count_if(files.begin(), files.end(),
                                    [&](const std::filesystem::path& file) {
                                        return file.filename().string().rfind(prefix, 0) == 0 &&
                                               std::filesystem::file_size(file) > 0;
                                    }),
                      1)
                << "no dump named " << prefix << "...";
        }
    }
}

// A socket the daemon cannot make (its path is taken by a folder) ends it at
// start-up: one line on standard output, then the crash handler's dump.
TEST(DaemonStartup, ASocketThatCannotBeMadeEndsTheDaemonWithADump) {
    std::filesystem::create_directories(kGatewaySocketPath + "/taken");
    const size_t dumps_before = crash_folder_is_private() ? dumps().size() : 0;
    RunningProgram daemon({VANTAAPID_PATH});
    const auto status = daemon.wait_for_exit(10s);
    ASSERT_TRUE(status) << "still running";
    EXPECT_EQ(*status, 128 + SIGABRT) << daemon.output();
    EXPECT_NE(daemon.output().find(
                  "Caught runtime_error with message 'Unable to build and start service server'"),
              std::string::npos)
        << daemon.output();
    if (crash_folder_is_private()) {
        EXPECT_EQ(dumps().size(), dumps_before + 1);
    }
}

}  // namespace
}  // namespace vanta::testing
