// The device simulator's backends under the real service, both on the same
// endpoint catalogue moved into a temporary directory: every backend answers,
// and commands succeed as on an idle device.

#include <stdexcept>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_call.h"
#include "api_harness.h"
#include "rpc/client/endpoint_catalogue.h"
#include "simulated_backends.h"
#include "simulator_control.grpc.pb.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

TEST(Simulator, ServesEveryBackendSoThatCommandsSucceed) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    simulator::SimulatedBackends backends(endpoints);
    EXPECT_EQ(backends.names().size(), 26u);
    ApiHarness api(dir.socket_address("vantaapi_service"), endpoints);
    const auto channel = grpc::CreateChannel(dir.socket_address("vantaapi_service"),
                                             grpc::InsecureChannelCredentials());
    for (const auto& [operation, request, answer] :
         {std::tuple("HoldMeeting", "meeting_id: 3", "success: true"),
          std::tuple("GetCurrentVolume", "", "volume: 50"),
          std::tuple("GetSystemState", "", "state: AWAKE")}) {
        const ApiAnswer got = call_api(*channel, operation, request);
        EXPECT_TRUE(got.status.ok()) << operation << ": " << got.status.error_message();
        EXPECT_EQ(got.response, answer) << operation;
    }
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
