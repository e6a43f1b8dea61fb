// The device identifier against values computed independently (SHA-1 and
// RFC 4122 version-5 UUIDs of another implementation).

#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "platform/device_identity.h"

namespace vanta::testing {
namespace {

using deviceidentifier::get_device_identifier;

TEST(DeviceIdentity, IsTheVersion5UuidOfTheDigestOfSecondThenFirst) {
    EXPECT_EQ(get_device_identifier("00:11:22:33:44:55", "FOC1234X0AB"),
              "4b9f8d52-7e97-5d4a-963c-323d53e79985");
}

TEST(DeviceIdentity, IsStableAndOrderSensitive) {
    const auto id = get_device_identifier("00:11:22:33:44:55", "FOC1234X0AB");
    EXPECT_EQ(get_device_identifier("00:11:22:33:44:55", "FOC1234X0AB"), id);
    EXPECT_EQ(get_device_identifier("FOC1234X0AB", "00:11:22:33:44:55"),
              "2e11b5fa-1b12-5248-8637-ee7cee871219");
}

TEST(DeviceIdentity, AlwaysAVersion5UuidInLowerCase) {
    const std::regex version5(
        "[0-9a-f]{8}-[0-9a-f]{4}-5[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    for (const auto& [first, second] : {std::pair<std::string, std::string>{"", ""},
                                        {"unknown", "unknown"},
                                        {"AA:BB:CC:DD:EE:FF", "serial"}}) {
        EXPECT_TRUE(std::regex_match(get_device_identifier(first, second), version5))
            << first << "/" << second;
    }
}

}  // namespace
}  // namespace vanta::testing
