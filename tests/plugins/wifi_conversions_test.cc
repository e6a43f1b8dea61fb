// The conversions between the API's Wi-Fi messages and the Wi-Fi service's.

#include <cstdint>
#include <limits>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugins/wifi_plugin.h"

namespace vanta::testing {
namespace {

// The key management the Wi-Fi service is given for a network of `security`
// with `key_mgmt`.
wifi::KeyManagementMethod key_mgmt_for(
    vantaapi::SecurityMethod security,
    vantaapi::KeyManagementMethod key_mgmt = vantaapi::UNKNOWN_KEY_MGMT_METHOD) {
    vantaapi::WifiConfigInfo config;
    config.set_security_method(security);
    config.set_key_mgmt_method(key_mgmt);
    return WifiPlugin::map_wifi_config_info(config).key_mgmt_method();
}

// The copy of every field, the derivation for a pre-shared key and a WEP
// network read back as unknown security are seen through the API
// (api/network_pass_through_rows.textproto).
TEST(WifiConfigConversion, DerivesAMissingKeyManagementFromTheSecurityMethod) {
    for (const auto security :
         {vantaapi::PEAP_MSCHAPV2_METHOD, vantaapi::PEAP_GTC_METHOD, vantaapi::EAP_FAST_METHOD,
          vantaapi::EAP_TLS_METHOD, vantaapi::EAP_METHOD}) {
        SCOPED_TRACE(security);
        EXPECT_EQ(key_mgmt_for(security), wifi::WPA_EAP);
    }
    for (const auto security :
         {vantaapi::UNKNOWN_METHOD, vantaapi::OPEN_METHOD, vantaapi::WEP_METHOD}) {
        SCOPED_TRACE(security);
        EXPECT_EQ(key_mgmt_for(security), wifi::WPA_NONE);
    }
    // A key management outside the shared range counts as missing.
    EXPECT_EQ(
        key_mgmt_for(vantaapi::WPA2_PSK_METHOD, static_cast<vantaapi::KeyManagementMethod>(9)),
        wifi::WPA_PSK);
    // A named one is kept whatever the security method.
    EXPECT_EQ(key_mgmt_for(vantaapi::WPA2_PSK_METHOD, vantaapi::IEEE8021X), wifi::IEEE8021X);
}

TEST(WifiEnumConversions, KeepTheSharedRangeAndZeroTheRest) {
    EXPECT_EQ(WifiPlugin::map_wifi_frequency_band(vantaapi::FREQ_BAND_24), wifi::FREQ_BAND_24);
    EXPECT_EQ(WifiPlugin::map_wifi_frequency_band(wifi::FREQ_BAND_AUTO), vantaapi::FREQ_BAND_AUTO);
    EXPECT_EQ(WifiPlugin::map_wifi_frequency_band(static_cast<wifi::FrequencyBand>(4)),
              vantaapi::FREQ_UNKNOWN);
    EXPECT_EQ(WifiPlugin::map_wifi_frequency_band(static_cast<vantaapi::FrequencyBand>(-1)),
              wifi::FREQ_UNKNOWN);

    EXPECT_EQ(WifiPlugin::map_wifi_security_method(vantaapi::WEP_METHOD), wifi::WEP_METHOD);
    EXPECT_EQ(WifiPlugin::map_wifi_security_method(vantaapi::EAP_METHOD), wifi::EAP_METHOD);
    EXPECT_EQ(WifiPlugin::map_wifi_security_method(static_cast<vantaapi::SecurityMethod>(9)),
              wifi::UNKNOWN_METHOD);

    EXPECT_EQ(WifiPlugin::map_wifi_key_mgmt_method(wifi::WPA_NONE), vantaapi::WPA_NONE);
    EXPECT_EQ(WifiPlugin::map_wifi_key_mgmt_method(vantaapi::WPA_EAP), wifi::WPA_EAP);
    EXPECT_EQ(WifiPlugin::map_wifi_key_mgmt_method(static_cast<wifi::KeyManagementMethod>(5)),
              vantaapi::UNKNOWN_KEY_MGMT_METHOD);

    EXPECT_EQ(WifiPlugin::map_wifi_status(wifi::UNKNOWN_STATUS), vantaapi::UNKNOWN_WIFI_STATUS);
    EXPECT_EQ(WifiPlugin::map_wifi_status(wifi::AP_MODE), vantaapi::WIFI_AP_MODE);
    EXPECT_EQ(WifiPlugin::map_wifi_status(wifi::AUTHENTICATION_FAILED),
              vantaapi::WIFI_AUTHENTICATION_FAILED);
    EXPECT_EQ(WifiPlugin::map_wifi_status(static_cast<wifi::WifiStatusType>(13)),
              vantaapi::UNKNOWN_WIFI_STATUS);

    EXPECT_EQ(WifiPlugin::map_signal_level(wifi::SIGNAL_LEVEL_FOUR), vantaapi::SIGNAL_LEVEL_FOUR);
    EXPECT_EQ(WifiPlugin::map_wifi_signal_level(wifi::SIGNAL_LEVEL_ONE),
              vantaapi::SIGNAL_LEVEL_ONE);
    EXPECT_EQ(WifiPlugin::map_signal_level(static_cast<wifi::SignalLevelType>(5)),
              vantaapi::SIGNAL_NO_NETWORK);
}

TEST(WifiEnumConversions, RefuseTheSentinels) {
    const auto low = std::numeric_limits<int32_t>::min();
    const auto high = std::numeric_limits<int32_t>::max();
    EXPECT_THROW(WifiPlugin::map_wifi_status(static_cast<wifi::WifiStatusType>(low)),
                 std::runtime_error);
    EXPECT_THROW(WifiPlugin::map_wifi_frequency_band(static_cast<vantaapi::FrequencyBand>(high)),
                 std::runtime_error);
    EXPECT_THAT([&] { WifiPlugin::map_signal_level(static_cast<wifi::SignalLevelType>(high)); },
                ::testing::ThrowsMessage<std::runtime_error>("Unexpected wifi signal level"));
}

}  // namespace
}  // namespace vanta::testing
