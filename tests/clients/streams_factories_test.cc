// The factories of the room control and cloud status reporter clients, on the
// device's fixed sockets (each case runs in a private /tmp).

#include <chrono>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "fakes/fake_nimboroomcontrol.h"
#include "fakes/fake_nimbostatusreporter.h"
#include "fakes/fake_service_registry.h"
#include "fakes/temp_dir.h"
#include "fakes/test_server.h"
#include "runtime/executor/manual_executor.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

TEST(RoomControlFactory, UsesTheAddressTheRegistryHolds) {
    TempDir dir;
    const std::string address = dir.socket_address("registered");
    FakeNimboRoomControl service;
    TestServer server(address, {&service});
    FakeServiceRegistry registry;
    registry.add_entry("Nimbo Room Service", address);
    TestServer registry_server("unix:/tmp/serviceregistry", {&registry});

    const auto client = nimboroomcontrol::create_nimboroomcontrol_client(2000ms);
    client->IncreaseVolume();
    EXPECT_THAT(service.calls(), ElementsAre("IncreaseVolume"));
    EXPECT_THAT(registry.lookups(), ElementsAre("Nimbo Room Service"));
}

TEST(RoomControlFactory, FallsBackToTheFixedSocketWhenTheRegistryIsAway) {
    FakeNimboRoomControl service;
    TestServer server("unix:/tmp/nimboroomservice", {&service});

    const auto started = std::chrono::steady_clock::now();
    const auto client = nimboroomcontrol::create_nimboroomcontrol_client();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    client->MuteMicrophone();
    EXPECT_THAT(service.calls(), ElementsAre("MuteMicrophone"));
}

TEST(StatusReporterFactory, UsesTheAddressTheRegistryHolds) {
    TempDir dir;
    const std::string address = dir.socket_address("registered");
    FakeNimboStatusReporter service;
    TestServer server(address, {&service});
    FakeServiceRegistry registry;
    registry.add_entry("Nimbo Status Reporter Service", address);
    TestServer registry_server("unix:/tmp/serviceregistry", {&registry});

    ManualExecutor executor;
    const auto client = nimbostatusreporter::create_client(executor, 2000ms);
    client->CheckCloudConnectivity();
    EXPECT_THAT(service.calls(), ElementsAre("CheckCloudConnectivity"));
    EXPECT_THAT(registry.lookups(), ElementsAre("Nimbo Status Reporter Service"));
}

TEST(StatusReporterFactory, FallsBackToTheFixedSocketWhenTheRegistryIsAway) {
    FakeNimboStatusReporter service;
    TestServer server("unix:/tmp/nimbostatusreporter_service", {&service});

    ManualExecutor executor;
    const auto client = nimbostatusreporter::create_client(executor);
    client->CheckCloudConnectivity();
    EXPECT_THAT(service.calls(), ElementsAre("CheckCloudConnectivity"));
}

}  // namespace
}  // namespace vanta::testing
