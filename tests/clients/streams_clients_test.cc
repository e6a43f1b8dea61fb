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

TEST_F(RoomControlTest, SendsEachOperationAndAnswersTheServicesReply) {
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

    nimboroomcontrol::SpaceDeviceInfo space;
    space.set_number_of_devices_in_space(2);
    space.mutable_self()->set_device_url("device://self");
    space.mutable_self()->add_roles(nimboroomcontrol::MAIN_AUDIO_RENDER);
    auto* companion = space.add_companions();
    companion->set_device_url("device://companion");
    companion->add_roles(nimboroomcontrol::PLAY_ULTRASOUND);
    companion->add_roles(nimboroomcontrol::CALL_CONTROL_MASTER);
    fake.reply("GetSpaceInfo", space);
    const auto answer = client.GetSpaceInfo();
    EXPECT_EQ(answer.number_of_devices_in_space(), 2u);
    EXPECT_EQ(answer.self().device_url(), "device://self");
    EXPECT_THAT(answer.self().roles(), ElementsAre(nimboroomcontrol::MAIN_AUDIO_RENDER));
    ASSERT_EQ(answer.companions_size(), 1);
    EXPECT_EQ(answer.companions(0).device_url(), "device://companion");
    EXPECT_THAT(answer.companions(0).roles(), ElementsAre(nimboroomcontrol::PLAY_ULTRASOUND,
                                                          nimboroomcontrol::CALL_CONTROL_MASTER));
    EXPECT_THAT(fake.calls(), ElementsAre("IncreaseVolume", "DecreaseVolume", "SetVolume",
                                          "MuteMicrophone", "UnmuteMicrophone", "GetSpaceInfo"));
}

// Cloud status reporter, unary operations.

struct StatusReporterTest : ::testing::Test {
    TempDir dir;
    std::string address = dir.socket_address("nimbostatusreporter_service");
    sim::NimboStatusReporterBackend fake;
    sim::BackendServer server{address, {&fake}};
    nimbostatusreporter::ClientImpl client{
        endpoint_at(device_endpoints().nimbostatusreporter, address, 2000ms)};
};

TEST_F(StatusReporterTest, SendsEachOperationAndAnswersTheServicesReply) {
    nimbostatusreporter::Response yes;
    yes.set_success(true);
    fake.reply("SetRefreshTokenStatus", yes);
    EXPECT_TRUE(
        client.SetRefreshTokenStatus(nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR));
    EXPECT_EQ(
        fake.last_request<nimbostatusreporter::RefreshTokenEvent>("SetRefreshTokenStatus").type(),
        nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR);

    nimbostatusreporter::CloudConnectivityResponse connectivity;
    connectivity.set_connectivity_state(
        nimbostatusreporter::CloudConnectivityResponse::CLOUD_CONNECTION_DOWN);
    fake.reply("CheckCloudConnectivity", connectivity);
    EXPECT_EQ(client.CheckCloudConnectivity(),
              nimbostatusreporter::CloudConnectivityResponse::CLOUD_CONNECTION_DOWN);

    nimbostatusreporter::NimboServiceStatus status;
    status.set_service_type(nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    status.set_url("https://cloud/credentials");
    status.set_status("ok");
    status.set_timestamp("2026-12-06T02:00:00Z");
    status.mutable_nimbo_credentials_service_status()->set_accesstoken_status("valid");
    fake.reply("GetNimboServiceStatus", status);
    const auto answer =
        client.GetNimboServiceStatus(nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(fake.last_request<nimbostatusreporter::NimboServiceStatus>("GetNimboServiceStatus")
                  .service_type(),
              nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(answer.service_type(), nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(answer.url(), "https://cloud/credentials");
    EXPECT_EQ(answer.status(), "ok");
    EXPECT_EQ(answer.timestamp(), "2026-12-06T02:00:00Z");
    EXPECT_EQ(answer.nimbo_credentials_service_status().accesstoken_status(), "valid");
}

}  // namespace
}  // namespace vanta::testing
