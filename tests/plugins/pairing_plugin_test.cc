// The guest token and the manual-pairing PIN through the API, with the
// ultrasound service simulated on a temporary socket: the caller gets them,
// the log never does.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "api/api_harness.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/backend_server.h"
#include "sim/nimboultrasound_backend.h"
#include "support/console_capture.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

constexpr const char* kGuestToken = "guest-7f3a9c";
constexpr const char* kPin = "480913";

TEST(PairingPlugin, HandsTheTokenAndThePinToTheCallerAndNeverToTheLog) {
    ConsoleCapture console;
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    sim::NimboUltrasoundBackend ultrasound;
    nimboultrasound::TokenResponse token;
    token.set_token(kGuestToken);
    ultrasound.reply("GetGuestToken", token);
    nimboultrasound::PinResponse pin;
    pin.set_pin(kPin);
    ultrasound.reply("GetManualPairPin", pin);
    sim::BackendServer server(endpoints.nimboultrasound.address, {&ultrasound});
    ApiHarness api(dir.socket_address("vantaapi_service"), endpoints);
    auto stub = api.client();

    {
        grpc::ClientContext context;
        vantaapi::TokenResponse answer;
        const grpc::Status status =
            stub->GetGuestToken(&context, google::protobuf::Empty(), &answer);
        ASSERT_TRUE(status.ok()) << status.error_message();
        EXPECT_EQ(answer.token(), kGuestToken);
    }
    {
        grpc::ClientContext context;
        vantaapi::ManualPairChallenge answer;
        const grpc::Status status =
            stub->GetManualPairPin(&context, google::protobuf::Empty(), &answer);
        ASSERT_TRUE(status.ok()) << status.error_message();
        EXPECT_EQ(answer.pin(), kPin);
    }
    EXPECT_EQ(ultrasound.calls(), (std::vector<std::string>{"GetGuestToken", "GetManualPairPin"}));

    const std::vector<std::string> lines = console.lines();
    ASSERT_FALSE(lines.empty());  // the capture sees the service's log
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find(kGuestToken), std::string::npos) << line;
        EXPECT_EQ(line.find(kPin), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace vanta::testing
