// The device simulator's backends under the real service: every backend
// answers, and commands succeed as on an idle device. Private /tmp.

#include <chrono>

#include <gtest/gtest.h>

#include "api_harness.h"
#include "simulated_backends.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Simulator, ServesEveryBackendSoThatCommandsSucceed) {
    simulator::SimulatedBackends backends;
    EXPECT_EQ(backends.names().size(), 24u);
    ApiHarness api;
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
