// The client operations that the API service does not call on this model
// (wired share, on-premises configuration, room volume and microphone, the
// refresh token's status, the local preview, the signage server, the NFC
// card), so that its pass-through table
// cannot show them: each against its simulated backend on a temporary socket.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/hdmirx/hdmirx_client.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "clients/nfc/nfc_client_impl.h"
#include "clients/nimbobranding/nimbobranding_client_impl.h"
#include "clients/nimboroomcontrol/nimboroomcontrol_client_impl.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"
#include "clients/sharegovernor/sharegovernor_client_impl.h"
#include "runtime/executor/manual_executor.h"
#include "runtime/logging/loggers.h"
#include "served_backend.h"
#include "sim/hdmirx_backend.h"
#include "sim/krellconfigmanager_backend.h"
#include "sim/nfc_backend.h"
#include "sim/nimbobranding_backend.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/sharegovernor_backend.h"
#include "support/bus_translation_table.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

TEST(GatedOperations, HdmiInputStateAndStatistics) {
    Served<sim::HdmiRxBackend> hdmi(device_endpoints().hdmirx);
    const auto client = create_hdmirx_client(hdmi.endpoint);
    hdmi.backend.reply("GetHdmiState", from_text<hdmirx::HdmiState>("plugged: UNPLUGGED"));
    hdmi.backend.reply("GetLocalWiredShareStatistics",
                       from_text<hdmirx::LocalWiredShareStatistics>(
                           "average_output_frame_rate: 30 duration_secs: 95"));

    EXPECT_EQ(client->GetHdmiState()->plugged(), hdmirx::HdmiState::UNPLUGGED);
    EXPECT_EQ(client->GetLocalWiredShareStatistics()->ShortDebugString(),
              "average_output_frame_rate: 30 duration_secs: 95");
}

TEST(GatedOperations, OnPremisesConfiguration) {
    Served<sim::KrellConfigManagerBackend> krell(device_endpoints().krellconfigmanager);
    ManualExecutor executor;
    const auto client = krellconfigmanager::create_client(executor, krell.endpoint);
    auto& backend = krell.backend;
    backend.reply("GetKRELLTFTPAddress", from_text<krellconfigmanager::KRELLTFTPAddress>(
                                             "address_list: '10.1.1.1' address_list: '10.1.1.2'"));
    backend.reply("GetKRELLDeviceConfigValues",
                  from_text<krellconfigmanager::KRELLDeviceConfigValues>(
                      "configurations { name: 'a' value: '1' } configurations { name: 'b' }"));
    backend.reply("GetKRELLDeviceConfigValue",
                  from_text<krellconfigmanager::KRELLDeviceConfigValue>("name: 'c' value: '3'"));

    EXPECT_EQ(client->GetKRELLTFTPAddress(),
              std::optional<std::vector<std::string>>({"10.1.1.1", "10.1.1.2"}));
    EXPECT_EQ(client->GetKRELLDeviceConfigValues().configurations_size(), 2);
    EXPECT_EQ(client->GetKRELLDeviceConfigValue("c", "0")->value(), "3");
    EXPECT_THAT(backend.calls_with_requests(),
                ElementsAre("GetKRELLTFTPAddress()", "GetKRELLDeviceConfigValues()",
                            "GetKRELLDeviceConfigValue(name: \"c\" value: \"0\")"));
}

TEST(GatedOperations, RoomVolumeAndMicrophone) {
    Served<sim::NimboRoomControlBackend> room(device_endpoints().nimboroomcontrol);
    nimboroomcontrol::ClientImpl client(room.endpoint);
    for (const char* operation :
         {"IncreaseVolume", "SetVolume", "MuteMicrophone", "UnmuteMicrophone"}) {
        room.backend.reply(operation, from_text<nimboroomcontrol::Response>("success: true"));
    }
    EXPECT_TRUE(client.IncreaseVolume());
    EXPECT_FALSE(client.DecreaseVolume());
    EXPECT_TRUE(client.SetVolume(37));
    EXPECT_TRUE(client.MuteMicrophone());
    EXPECT_TRUE(client.UnmuteMicrophone());
    EXPECT_THAT(room.backend.calls_with_requests(),
                ElementsAre("IncreaseVolume()", "DecreaseVolume()", "SetVolume(volume: 37)",
                            "MuteMicrophone()", "UnmuteMicrophone()"));
}

TEST(GatedOperations, RefreshTokenStatusAndLocalPreview) {
    Served<sim::NimboStatusReporterBackend> reporter(device_endpoints().nimbostatusreporter);
    nimbostatusreporter::ClientImpl status_client(reporter.endpoint);
    reporter.backend.reply("SetRefreshTokenStatus",
                           from_text<nimbostatusreporter::Response>("success: true"));
    EXPECT_TRUE(status_client.SetRefreshTokenStatus(
        nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR));
    EXPECT_THAT(reporter.backend.calls_with_requests(),
                ElementsAre("SetRefreshTokenStatus(type: REFRESH_TOKEN_ERROR)"));

    Served<sim::ShareGovernorBackend> governor(device_endpoints().share_governor);
    ManualExecutor executor;
    sharegovernor::ClientImpl share_client(executor, governor.endpoint,
                                           logging::getLogger("ShareGovernorClient"));
    share_client.StartLocalPreview();
    EXPECT_THAT(governor.backend.calls(), ElementsAre("StartLocalPreview"));
}

TEST(GatedOperations, SignageServerAndCardState) {
    ManualExecutor executor;
    Served<sim::NimboBrandingBackend> branding(device_endpoints().nimbobranding);
    nimbobranding::ClientImpl branding_client(executor, branding.endpoint);
    branding.backend.reply("GetSignageServer",
                           from_text<nimbobranding::ServerInfo>("url: 'https://signage.example'"));
    EXPECT_EQ(branding_client.GetSignageServer(), "https://signage.example");
    branding_client.SetSignageServer("https://other.example");
    branding_client.StopSignageServer();
    EXPECT_THAT(
        branding.backend.calls_with_requests(),
        ElementsAre("GetSignageServer()", "SetSignageServer(url: \"https://other.example\")",
                    "StopSignageServer()"));

    Served<sim::NfcBackend> nfc(device_endpoints().nfc);
    nfc::ClientImpl nfc_client(executor, nfc.endpoint);
    nfc.backend.reply("GetCardState", from_text<nfc::CardStateResponse>("state: CARD_INSERTED"));
    EXPECT_EQ(nfc_client.GetCardState(), nfc::CARD_INSERTED);
}

}  // namespace
}  // namespace vanta::testing
