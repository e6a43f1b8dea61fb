// The daemon binary hosts the command gateway beside the API: a gateway
// command reaches a simulated backend through the daemon's own API. Runs in a
// private /tmp.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "sim/backend_server.h"
#include "sim/volumemgr_backend.h"
#include "support/daemon_process.h"
#include "zapigateway.grpc.pb.h"

namespace vanta::testing {
namespace {

TEST(DaemonGateway, ACommandReachesTheBackendThroughTheDaemonsApi) {
    sim::VolumeMgrBackend volume;
    sim::BackendServer volume_server("unix:/tmp/volumemgr_service", {&volume});
    DaemonProcess daemon(VANTAAPID_PATH);

    const auto channel =
        grpc::CreateChannel("unix:/tmp/zapigateway", grpc::InsecureChannelCredentials());
    ASSERT_TRUE(
        channel->WaitForConnected(std::chrono::system_clock::now() + std::chrono::seconds(10)));
    zapigateway::ZapiMessage request;
    request.set_path("Audio.Microphones.ToggleMute");
    request.set_payload("{}");
    zapigateway::ZapiResponse response;
    grpc::ClientContext context;
    ASSERT_TRUE(
        zapigateway::ZapiGateway::NewStub(channel)->Command(&context, request, &response).ok());
    EXPECT_EQ(response.payload(), R"({"result":null,"statusCode":200})");
    EXPECT_EQ(volume.calls(), std::vector<std::string>{"ToggleAudioMute"});
}

}  // namespace
}  // namespace vanta::testing
