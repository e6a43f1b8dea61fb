// Backends stopped, started and hung through the simulator's control, on
// temporary sockets: what a caller of the backend sees in each state, and how
// the control names the backends.

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "sim/backend_server.h"
#include "sim/simulator_control_service.h"
#include "sim/switchable_backend.h"
#include "support/fake_test_service.h"
#include "support/named_calls.h"
#include "support/temp_dir.h"
#include "support/told.h"

using namespace std::chrono_literals;

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vanta::simcontrol::BackendStatus;
using vanta::testing::FakeTestService;
using vanta::testing::TempDir;
using vanta::testing::Told;

class OutagesTest : public ::testing::Test {
  protected:
    OutagesTest() {
        std::vector<SwitchableBackend*> switchable;
        for (const char* name : {"callproxy", "volumemgr_service", "networkmanager_service",
                                 "network_status_reporter"}) {
            services_.push_back(std::make_unique<FakeTestService>());
            backends_.push_back(std::make_unique<SwitchableBackend>(name, dir_.socket_address(name),
                                                                    *services_.back()));
            backends_.back()->start();
            switchable.push_back(backends_.back().get());
        }
        control_ = std::make_unique<SimulatorControlService>(
            switchable, [this](const BackendStatus& status) {
                changes_.add(status.name() + " " + status.state());
            });
        control_server_ = std::make_unique<BackendServer>(
            dir_.socket_address("control"), std::initializer_list<grpc::Service*>{control_.get()});
        control_channel_ =
            grpc::CreateChannel(dir_.socket_address("control"), grpc::InsecureChannelCredentials());
    }

    // "Stop", "Start" or "Hang" of the backend `name` through the control
    // socket: the state reached, or the error (see call_named).
    std::string control(const std::string& operation, const std::string& name) {
        return vanta::testing::call_named(control_channel_,
                                          "vanta.simcontrol.SimulatorControl." + operation,
                                          "name: '" + name + "'");
    }
    static std::string reached(const std::string& name, const std::string& state) {
        return "name: \"" + name + "\" state: \"" + state + "\"";
    }
    std::string listed() {
        return vanta::testing::call_named(control_channel_,
                                          "vanta.simcontrol.SimulatorControl.List");
    }

    std::unique_ptr<vanta::test::TestService::Stub> backend_stub(const std::string& name) {
        return vanta::test::TestService::NewStub(
            grpc::CreateChannel(dir_.socket_address(name), grpc::InsecureChannelCredentials()));
    }
    static grpc::Status echo(vanta::test::TestService::Stub& stub,
                             std::chrono::milliseconds deadline, bool wait_for_ready = false) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + deadline);
        context.set_wait_for_ready(wait_for_ready);
        vanta::test::EchoReply reply;
        return stub.Echo(&context, {}, &reply);
    }

    TempDir dir_;
    std::vector<std::unique_ptr<FakeTestService>> services_;
    std::vector<std::unique_ptr<SwitchableBackend>> backends_;
    // What the control service reported, from its handler threads.
    Told changes_;
    std::unique_ptr<SimulatorControlService> control_;
    std::unique_ptr<BackendServer> control_server_;
    std::shared_ptr<grpc::Channel> control_channel_;
};

TEST_F(OutagesTest, StoppedBackendRefusesCallsAndStartsAgainWithItsState) {
    FakeTestService& volume = *services_[1];
    auto stub = backend_stub("volumemgr_service");
    grpc::ClientContext stream_context;
    auto stream = stub->Subscribe(&stream_context);
    ASSERT_TRUE(volume.wait_for_opened(1));

    EXPECT_EQ(control("Stop", "volumemgr"), reached("volumemgr_service", "stopped"));
    EXPECT_EQ(echo(*stub, 5s).error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "volumemgr_service"));
    vanta::test::Event event;
    EXPECT_FALSE(stream->Read(&event));  // the stream ended with the server
    EXPECT_EQ(listed(), "backends { " + reached("callproxy", "running") + " } backends { " +
                            reached("volumemgr_service", "stopped") + " } backends { " +
                            reached("networkmanager_service", "running") + " } backends { " +
                            reached("network_status_reporter", "running") + " }");

    EXPECT_EQ(control("Start", "volumemgr_service"), reached("volumemgr_service", "running"));
    // The caller's channel reconnects once its back-off has passed.
    EXPECT_TRUE(echo(*stub, 10s, true).ok());
    // The same backend serves the socket again: it still counts the stream
    // that the stop ended.
    grpc::ClientContext again_context;
    auto again = stub->Subscribe(&again_context);
    EXPECT_TRUE(volume.wait_for_opened(2));
    // A start of a running backend is no change.
    EXPECT_EQ(control("Start", "volumemgr"), reached("volumemgr_service", "running"));
    EXPECT_THAT(changes_.seen(),
                ElementsAre("volumemgr_service stopped", "volumemgr_service running"));
    again_context.TryCancel();
    stream_context.TryCancel();
}

TEST_F(OutagesTest, HungBackendAnswersNothingUntilStarted) {
    FakeTestService& calls = *services_[0];
    auto stub = backend_stub("callproxy");
    grpc::ClientContext stream_context;
    auto stream = stub->Subscribe(&stream_context);
    ASSERT_TRUE(calls.wait_for_opened(1));

    EXPECT_EQ(control("Hang", "callproxy"), reached("callproxy", "hung"));
    EXPECT_EQ(echo(*stub, 300ms).error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    calls.publish("ringing");
    auto read = std::async(std::launch::async, [&] {
        vanta::test::Event event;
        return stream->Read(&event) ? event.text() : std::string("ended");
    });
    EXPECT_EQ(read.wait_for(300ms), std::future_status::timeout);
    EXPECT_THAT(listed(), HasSubstr(reached("callproxy", "hung")));

    EXPECT_EQ(control("Start", "callproxy"), reached("callproxy", "running"));
    EXPECT_EQ(read.get(), "ringing");
    EXPECT_TRUE(echo(*stub, 5s).ok());

    // A backend stopped while hung lets go of the calls waiting in it.
    control("Hang", "callproxy");
    auto waiting = std::async(std::launch::async, [&] { return echo(*stub, 20s); });
    std::this_thread::sleep_for(100ms);
    control("Stop", "callproxy");
    EXPECT_EQ(waiting.wait_for(5s), std::future_status::ready);
    EXPECT_THAT(changes_.seen(), ElementsAre("callproxy hung", "callproxy running",
                                             "callproxy hung", "callproxy stopped"));
    stream_context.TryCancel();
}

// A whole socket name and a unique start of one are seen above.
TEST_F(OutagesTest, NamesAreSocketNamesOrAUniqueStartOfOne) {
    EXPECT_EQ(control("Start", "networkmanager"), reached("networkmanager_service", "running"));
    EXPECT_EQ(control("Start", "network"),
              "error 3 \"network\" names several backends: networkmanager_service, "
              "network_status_reporter");
    EXPECT_EQ(control("Start", "ringer"),
              "error 5 no backend named \"ringer\"; backends: callproxy, volumemgr_service, "
              "networkmanager_service, network_status_reporter");
    EXPECT_EQ(control("Start", ""),
              "error 5 no backend named \"\"; backends: callproxy, volumemgr_service, "
              "networkmanager_service, network_status_reporter");
}

}  // namespace
}  // namespace vanta::sim
