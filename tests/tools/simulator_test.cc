// The device simulator's backends under the real service, both on the same
// endpoint catalogue moved into a temporary directory: every backend answers,
// and commands succeed as on an idle device.

#include <chrono>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_harness.h"
#include "rpc/client/endpoint_catalogue.h"
#include "simulated_backends.h"
#include "simulator_control.grpc.pb.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Simulator, ServesEveryBackendSoThatCommandsSucceed) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    simulator::SimulatedBackends backends(endpoints);
    EXPECT_EQ(backends.names().size(), 26u);
    ApiHarness api(dir.socket_address("vantaapi_service"), endpoints);
    auto stub = api.client();

    auto succeeds = [&](auto method, const auto& request, auto& response) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 10s);
        const grpc::Status status = ((*stub).*method)(&context, request, &response);
        EXPECT_TRUE(status.ok()) << status.error_message();
    };
    vantaapi::HoldMeetingRequest meeting;
    meeting.set_meeting_id(3);
    vantaapi::RequestStatus held;
    succeeds(&vantaapi::VantaApi::Stub::HoldMeeting, meeting, held);
    EXPECT_TRUE(held.success());
    vantaapi::VolumeStatus volume;
    succeeds(&vantaapi::VantaApi::Stub::GetCurrentVolume, google::protobuf::Empty(), volume);
    EXPECT_EQ(volume.volume(), 50u);
    vantaapi::SystemState state;
    succeeds(&vantaapi::VantaApi::Stub::GetSystemState, google::protobuf::Empty(), state);
    EXPECT_EQ(state.state(), vantaapi::SystemState::AWAKE);
}

// `vanta-simulator --without`: the backends named start stopped, the rest
// run, and the control serves them all.
TEST(Simulator, StartsWithoutTheBackendsNamed) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    simulator::SimulatorOptions options;
    options.without = {"volumemgr", "callproxy"};
    options.control_address = dir.socket_address("control");
    simulator::SimulatedBackends backends(endpoints, options);
    EXPECT_THAT(backends.stopped(), ::testing::ElementsAre("callproxy", "volumemgr_service"));

    auto control = simcontrol::SimulatorControl::NewStub(
        grpc::CreateChannel(options.control_address, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    simcontrol::BackendList list;
    ASSERT_TRUE(control->List(&context, google::protobuf::Empty(), &list).ok());
    int running = 0;
    for (const auto& backend : list.backends()) {
        const bool absent = backend.name() == "volumemgr_service" || backend.name() == "callproxy";
        EXPECT_EQ(backend.state(), absent ? "stopped" : "running") << backend.name();
        running += backend.state() == "running";
    }
    EXPECT_EQ(running, list.backends_size() - 2);

    TempDir other;
    options.without = {"nosuch"};
    options.control_address.clear();
    EXPECT_THROW(
        simulator::SimulatedBackends(endpoints_in_directory(other.path().string()), options),
        std::invalid_argument);
}

}  // namespace
}  // namespace vanta::testing
