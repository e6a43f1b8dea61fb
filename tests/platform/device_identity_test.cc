// The device identifier against values computed independently (SHA-1 and
// RFC 4122 version-5 UUIDs of another implementation).

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

}  // namespace
}  // namespace vanta::testing
