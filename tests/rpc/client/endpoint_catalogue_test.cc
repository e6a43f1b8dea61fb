// The endpoint catalogue: the device's sockets and registry names (a contract
// with the other daemons of the device), and the same table moved into a
// directory of a test's own.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta {
namespace {

struct DeviceRow {
    const char* name;
    const char* address;
    const char* registry_name;
};

const std::vector<DeviceRow> kDeviceRows = {
    {"callproxy", "unix:/tmp/callproxy", "CallProxy"},
    {"account_manager", "unix:/tmp/account_manager", ""},
    {"share_governor", "unix:/tmp/share_governor", ""},
    {"phonebook", "unix:/tmp/phonebook_service", ""},
    {"avatar", "unix:/tmp/avatar_service", ""},
    {"configmanager", "unix:/tmp/configmanager", ""},
    {"krellconfigmanager", "unix:/tmp/krellconfigmanager", ""},
    {"krellsecurity", "unix:/tmp/krellsecurity_service", ""},
    {"nimboconfigmanager", "unix:/tmp/nimboconfigmanager_service", ""},
    {"certificatemanager", "unix:/tmp/certificatemanager_service", ""},
    {"ringer", "unix:/tmp/ringer", ""},
    {"volumemgr", "unix:/tmp/volumemgr_service", ""},
    {"reset", "unix:/tmp/reset_service", ""},
    {"systemcontroller", "unix:/tmp/systemcontroller_service", ""},
    {"screensetting", "unix:/tmp/screensetting_service", ""},
    {"hdmirx", "unix:/tmp/hdmirx_stub", ""},
    {"ieee8021x", "unix:/tmp/ieee8021x_service", ""},
    {"upgrademanager", "unix:/tmp/upgrademanager_service", ""},
    {"featuremanager", "unix:/tmp/featuremanager_service", ""},
    {"networkmanager", "unix:/tmp/networkmanager_service", ""},
    {"networkstatusreporter", "unix:/tmp/network_status_reporter", ""},
    {"wifi", "unix:/tmp/wifi_service", ""},
    {"accesspoint", "unix:/tmp/ap_service", "Access Point Service"},
    {"nimboultrasound", "unix:/tmp/nimboultrasound_service", "Nimbo Ultrasound Service"},
    {"nimbobranding", "unix:/tmp/nimbobranding_service", ""},
    {"nimboroomcontrol", "unix:/tmp/nimboroomservice", "Nimbo Room Service"},
    {"nimbostatusreporter", "unix:/tmp/nimbostatusreporter_service",
     "Nimbo Status Reporter Service"},
    {"calendar", "unix:/tmp/calendar_service", ""},
    {"nfc", "unix:/tmp/nfc", ""},
    {"media", "unix:/tmp/media_service", "media_service"},
    {"mediasession", "unix:/tmp/mediasession_service", "mediasession_service"},
    {"problemreporter", "unix:/tmp/problemreporter_service", "Problem Reporter Service"},
    {"problemreportstatus", "unix:/tmp/problemreportstatus_service", ""},
    {"metrics_dispatch", "unix:/tmp/metricsdispatch_service", ""},
    {"pubservice", "unix:/tmp/pubservice", "Publish Service"},
    {"subservice", "unix:/tmp/subservice", "Subscribe Service"},
    {"service_registry", "unix:/tmp/serviceregistry", ""},
    {"vantaapi", "unix:/tmp/vantaapi_service", ""},
    {"zapigateway", "unix:/tmp/zapigateway", ""},
};

TEST(EndpointCatalogue, TheDeviceRowsAreTheFixedSocketsAndRegistryNames) {
    const auto rows = device_endpoints().rows();
    ASSERT_EQ(rows.size(), kDeviceRows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(kDeviceRows[i].name);
        EXPECT_EQ(rows[i].name, kDeviceRows[i].name);
        EXPECT_EQ(rows[i].endpoint.address, kDeviceRows[i].address);
        EXPECT_EQ(rows[i].endpoint.registry_name, kDeviceRows[i].registry_name);
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
