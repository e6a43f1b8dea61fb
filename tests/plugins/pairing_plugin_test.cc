// The guest token and the manual-pairing PIN through the API, with the
// ultrasound service simulated on a temporary socket: the caller gets them,
// the log never does.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

constexpr const char* kGuestToken = "guest-7f3a9c";
constexpr const char* kPin = "480913";

TEST(PairingPlugin, HandsTheTokenAndThePinToTheCallerAndNeverToTheLog) {
    ConsoleCapture console;
    ServiceOnBackends service;
    service.backends.script("nimboultrasound.GetGuestToken",
                            std::string("token: '") + kGuestToken + "'");
    service.backends.script("nimboultrasound.GetManualPairPin", std::string("pin: '") + kPin + "'");
    EXPECT_EQ(service.call("GetGuestToken").response,
              std::string("token: \"") + kGuestToken + "\"");
    EXPECT_EQ(service.call("GetManualPairPin").response, std::string("pin: \"") + kPin + "\"");

    const std::vector<std::string> lines = console.lines();
    ASSERT_FALSE(lines.empty());  // the capture sees the service's log
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find(kGuestToken), std::string::npos) << line;
        EXPECT_EQ(line.find(kPin), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace vanta::testing
