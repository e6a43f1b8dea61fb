// The endpoint catalogue: the device's sockets and registry names (a contract
// with the other daemons of the device), and the same table moved into a
// directory of a test's own. The device's rows are in device_endpoints.json,
// in the catalogue's order: [name, address, registry name or ""].

#include <string>

#include <gtest/gtest.h>

#include "rpc/client/endpoint_catalogue.h"
#include "support/data_files.h"

namespace vanta {
namespace {

TEST(EndpointCatalogue, TheDeviceRowsAreTheFixedSocketsAndRegistryNames) {
    const auto expected = testing::read_json(VANTA_RPC_CLIENT_DATA "/device_endpoints.json");
    const auto rows = device_endpoints().rows();
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].dump());
        EXPECT_EQ(rows[i].name, expected[i][0]);
        EXPECT_EQ(rows[i].endpoint.address, expected[i][1]);
        EXPECT_EQ(rows[i].endpoint.registry_name, expected[i][2]);
        if (!rows[i].endpoint.registry_name.empty()) {
            EXPECT_EQ(rows[i].endpoint.registry_address, "unix:/tmp/serviceregistry");
        }
        EXPECT_FALSE(rows[i].endpoint.service_name.empty());
    }
}

TEST(EndpointCatalogue, InADirectoryEverySocketMovesThereAndNoRegistryIsAsked) {
    const auto device = device_endpoints().rows();
    const auto moved = endpoints_in_directory("/run/vanta-test").rows();
    ASSERT_EQ(moved.size(), device.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
        SCOPED_TRACE(device[i].name);
        EXPECT_EQ(moved[i].endpoint.address,
                  "unix:/run/vanta-test/" + socket_name(device[i].endpoint));
        EXPECT_EQ(moved[i].endpoint.registry_name, "");
        EXPECT_EQ(moved[i].endpoint.service_name, device[i].endpoint.service_name);
        EXPECT_EQ(moved[i].endpoint.deadline, device[i].endpoint.deadline);
    }
}

}  // namespace
}  // namespace vanta
