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
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vanta::simcontrol::BackendRequest;
using vanta::simcontrol::BackendStatus;
using vanta::testing::FakeTestService;
using vanta::testing::TempDir;

class OutagesTest : public ::testing::Test {
  protected:
    OutagesTest() {
        for (const char* name : {"callproxy", "volumemgr_service", "networkmanager_service",
                                 "network_status_reporter"}) {
            services_.push_back(std::make_unique<FakeTestService>());
            backends_.push_back(std::make_unique<SwitchableBackend>(name, dir_.socket_address(name),
                                                                    *services_.back()));
            backends_.back()->start();
        }
        control_ = std::make_unique<SimulatorControlService>(
            std::vector<SwitchableBackend*>{backends_[0].get(), backends_[1].get(),
                                            backends_[2].get(), backends_[3].get()},
            [this](const BackendStatus& status) {
                changes_.push_back(status.name() + " " + status.state());
            });
        control_server_ = std::make_unique<BackendServer>(
            dir_.socket_address("control"), std::initializer_list<grpc::Service*>{control_.get()});
        control_stub_ = vanta::simcontrol::SimulatorControl::NewStub(grpc::CreateChannel(
            dir_.socket_address("control"), grpc::InsecureChannelCredentials()));
    }

    // Stop, Start or Hang through the control socket.
    template <typename Method>
    grpc::Status control(Method method, const std::string& name, BackendStatus* reached) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 5s);
        BackendRequest request;
        request.set_name(name);
        return ((*control_stub_).*method)(&context, request, reached);
    }
    BackendStatus changed(grpc::Status (vanta::simcontrol::SimulatorControl::Stub::*method)(
                              grpc::ClientContext*, const BackendRequest&, BackendStatus*),
                          const std::string& name) {
        BackendStatus reached;
        const grpc::Status status = control(method, name, &reached);
        EXPECT_TRUE(status.ok()) << status.error_message();
        return reached;
    }
    std::vector<std::string> listed() {
        grpc::ClientContext context;
        vanta::simcontrol::BackendList list;
        EXPECT_TRUE(control_stub_->List(&context, google::protobuf::Empty(), &list).ok());
        std::vector<std::string> lines;
        for (const auto& backend : list.backends()) {
            lines.push_back(backend.name() + " " + backend.state());
        }
        return lines;
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
        vanta::test::EchoRequest request;
        request.set_text("hello");
        vanta::test::EchoReply reply;
        return stub.Echo(&context, request, &reply);
    }

    TempDir dir_;
    std::vector<std::unique_ptr<FakeTestService>> services_;
    std::vector<std::unique_ptr<SwitchableBackend>> backends_;
    std::vector<std::string> changes_;
    std::unique_ptr<SimulatorControlService> control_;
    std::unique_ptr<BackendServer> control_server_;
    std::unique_ptr<vanta::simcontrol::SimulatorControl::Stub> control_stub_;
};

using Stub = vanta::simcontrol::SimulatorControl::Stub;

TEST_F(OutagesTest, StoppedBackendRefusesCallsAndStartsAgainWithItsState) {
    FakeTestService& volume = *services_[1];
    auto stub = backend_stub("volumemgr_service");
    grpc::ClientContext stream_context;
    auto stream = stub->Subscribe(&stream_context);
    ASSERT_TRUE(volume.wait_for_opened(1));

    const BackendStatus stopped = changed(&Stub::Stop, "volumemgr");
    EXPECT_EQ(stopped.name(), "volumemgr_service");
    EXPECT_EQ(stopped.state(), "stopped");
    EXPECT_EQ(echo(*stub, 5s).error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "volumemgr_service"));
    vanta::test::Event event;
    EXPECT_FALSE(stream->Read(&event));  // the stream ended with the server
    EXPECT_THAT(listed(),
                ElementsAre("callproxy running", "volumemgr_service stopped",
                            "networkmanager_service running", "network_status_reporter running"));

    EXPECT_EQ(changed(&Stub::Start, "volumemgr_service").state(), "running");
    // The caller's channel reconnects once its back-off has passed.
    EXPECT_TRUE(echo(*stub, 10s, true).ok());
    // The same backend serves the socket again: it still counts the stream
    // that the stop ended.
    grpc::ClientContext again_context;
    auto again = stub->Subscribe(&again_context);
    EXPECT_TRUE(volume.wait_for_opened(2));
    // A start of a running backend is no change.
    EXPECT_EQ(changed(&Stub::Start, "volumemgr").state(), "running");
    EXPECT_THAT(changes_, ElementsAre("volumemgr_service stopped", "volumemgr_service running"));
    again_context.TryCancel();
    stream_context.TryCancel();
}

TEST_F(OutagesTest, HungBackendAnswersNothingUntilStarted) {
    FakeTestService& calls = *services_[0];
    auto stub = backend_stub("callproxy");
    grpc::ClientContext stream_context;
    auto stream = stub->Subscribe(&stream_context);
    ASSERT_TRUE(calls.wait_for_opened(1));

    EXPECT_EQ(changed(&Stub::Hang, "callproxy").state(), "hung");
    EXPECT_EQ(echo(*stub, 300ms).error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    calls.publish("ringing");
    auto read = std::async(std::launch::async, [&] {
        vanta::test::Event event;
        return stream->Read(&event) ? event.text() : std::string("ended");
    });
    EXPECT_EQ(read.wait_for(300ms), std::future_status::timeout);
    EXPECT_THAT(listed(), ::testing::Contains("callproxy hung"));

    EXPECT_EQ(changed(&Stub::Start, "callproxy").state(), "running");
    EXPECT_EQ(read.get(), "ringing");
    EXPECT_TRUE(echo(*stub, 5s).ok());

    // A backend stopped while hung lets go of the calls waiting in it.
    changed(&Stub::Hang, "callproxy");
    auto waiting = std::async(std::launch::async, [&] { return echo(*stub, 20s); });
    std::this_thread::sleep_for(100ms);
    changed(&Stub::Stop, "callproxy");
    EXPECT_EQ(waiting.wait_for(5s), std::future_status::ready);
    EXPECT_THAT(changes_, ElementsAre("callproxy hung", "callproxy running", "callproxy hung",
                                      "callproxy stopped"));
    stream_context.TryCancel();
}

TEST_F(OutagesTest, NamesAreSocketNamesOrAUniqueStartOfOne) {
    struct Case {
        std::string name;
        grpc::StatusCode code;
        std::string answer;  // the backend, or a part of the error message
    };
    const std::vector<Case> cases = {
        {"volumemgr_service", grpc::StatusCode::OK, "volumemgr_service"},
        {"volumemgr", grpc::StatusCode::OK, "volumemgr_service"},
        {"networkmanager", grpc::StatusCode::OK, "networkmanager_service"},
        {"network", grpc::StatusCode::INVALID_ARGUMENT,
         "\"network\" names several backends: networkmanager_service, network_status_reporter"},
        {"ringer", grpc::StatusCode::NOT_FOUND,
         "no backend named \"ringer\"; backends: callproxy, volumemgr_service, "
         "networkmanager_service, network_status_reporter"},
        {"", grpc::StatusCode::NOT_FOUND, "no backend named \"\""},
    };
    for (const Case& c : cases) {
        BackendStatus reached;
        const grpc::Status status = control(&Stub::Start, c.name, &reached);
        EXPECT_EQ(status.error_code(), c.code) << c.name;
        if (status.ok()) {
            EXPECT_EQ(reached.name(), c.answer);
        } else {
            EXPECT_THAT(status.error_message(), HasSubstr(c.answer)) << c.name;
        }
    }
}

}  // namespace
}  // namespace vanta::sim
