// The room control and cloud status reporter clients against simulated
// backends on temporary sockets. Their event streams are in the table of
// observable_clients_test.cc.

#include <chrono>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/nimboroomcontrol/nimboroomcontrol_client_impl.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"
#include "sim/backend_server.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

// Room control.

struct RoomControlTest : ::testing::Test {
    TempDir dir;
    std::string address = dir.socket_address("nimboroomservice");
    sim::NimboRoomControlBackend fake;
    sim::BackendServer server{address, {&fake}};
    nimboroomcontrol::ClientImpl client{
        endpoint_at(device_endpoints().nimboroomcontrol, address, 2000ms)};
};

// What the space information holds is checked at the API
// (plugins/domain_plugins_test.cc); the volume and microphone operations the
// API never asks for are checked here.
TEST_F(RoomControlTest, VolumeAndMicrophoneOperationsAnswerTheServicesReply) {
    nimboroomcontrol::Response yes;
    yes.set_success(true);
    for (const char* operation :
         {"IncreaseVolume", "SetVolume", "MuteMicrophone", "UnmuteMicrophone"}) {
        fake.reply(operation, yes);
    }
    EXPECT_TRUE(client.IncreaseVolume());
    EXPECT_FALSE(client.DecreaseVolume());
    EXPECT_TRUE(client.SetVolume(37));
    EXPECT_TRUE(client.MuteMicrophone());
    EXPECT_TRUE(client.UnmuteMicrophone());
    EXPECT_EQ(fake.last_request<nimboroomcontrol::VolumeValue>("SetVolume").volume(), 37u);

    EXPECT_THAT(fake.calls(), ElementsAre("IncreaseVolume", "DecreaseVolume", "SetVolume",
                                          "MuteMicrophone", "UnmuteMicrophone"));
}

// Cloud status reporter.

struct StatusReporterTest : ::testing::Test {
    TempDir dir;
    std::string address = dir.socket_address("nimbostatusreporter_service");
    sim::NimboStatusReporterBackend fake;
    sim::BackendServer server{address, {&fake}};
    nimbostatusreporter::ClientImpl client{
        endpoint_at(device_endpoints().nimbostatusreporter, address, 2000ms)};
};

// The connectivity and service status the API asks for are checked through it
// (plugins/domain_plugins_test.cc).
TEST_F(StatusReporterTest, SendsTheRefreshTokenStatus) {
    nimbostatusreporter::Response yes;
    yes.set_success(true);
    fake.reply("SetRefreshTokenStatus", yes);
    EXPECT_TRUE(
        client.SetRefreshTokenStatus(nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR));
    EXPECT_EQ(
        fake.last_request<nimbostatusreporter::RefreshTokenEvent>("SetRefreshTokenStatus").type(),
        nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR);
}

}  // namespace
}  // namespace vanta::testing
