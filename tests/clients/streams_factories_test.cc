// The factories of the room control and cloud status reporter clients, on the
// device's fixed sockets (each case runs in a private /tmp).

#include <chrono>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "runtime/executor/manual_executor.h"
#include "sim/backend_server.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/service_registry.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

TEST(RoomControlFactory, UsesTheAddressTheRegistryHolds) {
    TempDir dir;
    const std::string address = dir.socket_address("registered");
    sim::NimboRoomControlBackend service;
    sim::BackendServer server(address, {&service});
    sim::ServiceRegistry registry;
    registry.add_entry("Nimbo Room Service", address);
    sim::BackendServer registry_server("unix:/tmp/serviceregistry", {&registry});

    const auto client =
        nimboroomcontrol::create_nimboroomcontrol_client(device_endpoints().nimboroomcontrol);
    client->IncreaseVolume();
    EXPECT_THAT(service.calls(), ElementsAre("IncreaseVolume"));
    EXPECT_THAT(registry.lookups(), ElementsAre("Nimbo Room Service"));
}

TEST(RoomControlFactory, FallsBackToTheFixedSocketWhenTheRegistryIsAway) {
    sim::NimboRoomControlBackend service;
    sim::BackendServer server("unix:/tmp/nimboroomservice", {&service});

    const auto started = std::chrono::steady_clock::now();
    const auto client =
        nimboroomcontrol::create_nimboroomcontrol_client(device_endpoints().nimboroomcontrol);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    client->MuteMicrophone();
    EXPECT_THAT(service.calls(), ElementsAre("MuteMicrophone"));
}

TEST(StatusReporterFactory, UsesTheAddressTheRegistryHolds) {
    TempDir dir;
    const std::string address = dir.socket_address("registered");
    sim::NimboStatusReporterBackend service;
    sim::BackendServer server(address, {&service});
    sim::ServiceRegistry registry;
    registry.add_entry("Nimbo Status Reporter Service", address);
    sim::BackendServer registry_server("unix:/tmp/serviceregistry", {&registry});

    ManualExecutor executor;
    const auto client =
        nimbostatusreporter::create_client(executor, device_endpoints().nimbostatusreporter);
    client->CheckCloudConnectivity();
    EXPECT_THAT(service.calls(), ElementsAre("CheckCloudConnectivity"));
    EXPECT_THAT(registry.lookups(), ElementsAre("Nimbo Status Reporter Service"));
}

TEST(StatusReporterFactory, FallsBackToTheFixedSocketWhenTheRegistryIsAway) {
    sim::NimboStatusReporterBackend service;
    sim::BackendServer server("unix:/tmp/nimbostatusreporter_service", {&service});

    ManualExecutor executor;
    const auto client =
        nimbostatusreporter::create_client(executor, device_endpoints().nimbostatusreporter);
    client->CheckCloudConnectivity();
    EXPECT_THAT(service.calls(), ElementsAre("CheckCloudConnectivity"));
}

}  // namespace
}  // namespace vanta::testing
