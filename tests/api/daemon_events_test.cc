// The vantaapid binary with a fake bus broker on the device's bus sockets:
// what a user interface attached to the running daemon sees.

#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "event_stream.h"
#include "sim/bus_broker.h"
#include "support/daemon_process.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

const std::string kSocketPath = "/tmp/vantaapi_service";

// The daemon running against a broker, with a client attached to its socket.
class DaemonEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(wait_until([] { return access(kSocketPath.c_str(), F_OK) == 0; }, 10s))
            << "the daemon never listened on " << kSocketPath;
        ASSERT_TRUE(broker_.wait_for_open_streams("VantaApi", 1, 10s));
        stub_ = vantaapi::VantaApi::NewStub(
            grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials()));
    }

    sim::BusBroker broker_{sim::BusBroker::kDeviceAddresses};
    DaemonProcess daemon_{VANTAAPID_PATH};
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_;
};

TEST_F(DaemonEventsTest, ServesEveryoneOnItsSocketAndDeliversBusEvents) {
    struct stat info {};
    ASSERT_EQ(stat(kSocketPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u);

    EventStream stream(*stub_);
    ASSERT_EQ(stream.wait_for(1).size(), 1u);
    pubsub::PubSubMsg volume;
    volume.set_topic("UiVolumeEvent");
    volume.set_event(1);
    volume.set_data("35");
    broker_.deliver(volume);
    const auto events = stream.wait_for(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[1].has_new_ui_volume_state()) << events[1].ShortDebugString();

    daemon_.signal(SIGTERM);
    const auto status = daemon_.wait_for_exit(10s);
    ASSERT_TRUE(status);
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

TEST_F(DaemonEventsTest, MalformedNumberOnTheBusEndsTheDaemonWithoutAnEvent) {
    // Nothing on the bus reader's thread catches the plugin's error.
    EventStream stream(*stub_);
    ASSERT_EQ(stream.wait_for(1).size(), 1u);
    pubsub::PubSubMsg progress;
    progress.set_topic("ImageUpgradeEvent");
    progress.set_event(1);
    progress.set_data("half");
    broker_.deliver(progress);

    const auto status = daemon_.wait_for_exit(10s);
    ASSERT_TRUE(status);
    ASSERT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGABRT);
    EXPECT_EQ(stream.wait_for(2).size(), 1u);
}

}  // namespace
}  // namespace vanta::testing
