// The device simulator's backends under the real service, both on the same
// endpoint catalogue moved into a temporary directory: every backend answers,
// and commands succeed as on an idle device.

#include <chrono>

#include <gtest/gtest.h>

#include "api_harness.h"
#include "rpc/client/endpoint_catalogue.h"
#include "simulated_backends.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Simulator, ServesEveryBackendSoThatCommandsSucceed) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    simulator::SimulatedBackends backends(endpoints);
    EXPECT_EQ(backends.names().size(), 24u);
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

}  // namespace
}  // namespace vanta::testing
