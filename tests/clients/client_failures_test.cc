// Every backend client, made by its factory from its row of the device's
// endpoint catalogue (moved into a temporary folder, with a short deadline),
// against a backend that never answers: the call ends at the row's deadline
// and its failure names the row's service, as the typed error of a newer
// operation or the log line of an older one. How a status becomes each style
// of failure is the unary-call helper's (common/unary_call_test.cc). A client
// has more than one row only for the operations whose names the API's
// no-backend table cannot show.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "clients/accesspoint/accesspoint_client.h"
#include "clients/accountmanager/accountmanager_client.h"
#include "clients/avatar/avatar_client.h"
#include "clients/calendar/calendar_client.h"
#include "clients/calling/calling_client.h"
#include "clients/certificatemanager/certificatemanager_client.h"
#include "clients/configmanager/configmanager_client.h"
#include "clients/featuremanager/featuremanager_client.h"
#include "clients/hdmirx/hdmirx_client.h"
#include "clients/ieee8021x/ieee8021x_client.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "clients/krellsecurity/krellsecurity_client.h"
#include "clients/media/media_client.h"
#include "clients/mediasession/mediasession_client.h"
#include "clients/networkmanager/networkmanager_client.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "clients/nfc/nfc_client.h"
#include "clients/nimbobranding/nimbobranding_client.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client.h"
#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "clients/nimboultrasound/nimboultrasound_client.h"
#include "clients/phonebook/phonebook_client.h"
#include "clients/problemreporter/problemreporter_client.h"
#include "clients/problemreportstatus/problemreportstatus_client.h"
#include "clients/reset/reset_client.h"
#include "clients/ringer/ringer_client.h"
#include "clients/screensetting/screensetting_client.h"
#include "clients/sharegovernor/sharegovernor_client.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "clients/upgrademanager/upgrademanager_client.h"
#include "clients/volumemgr/volumemgr_client.h"
#include "clients/wifi/wifi_client.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"
#include "support/console_capture.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

// A socket at `address` ("unix:<path>") that lets callers connect and never
// speaks: each call waits for an answer until its deadline.
class SilentSocket {
  public:
    explicit SilentSocket(const std::string& address)
        : path_(address.substr(5)), socket_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        path_.copy(where.sun_path, sizeof(where.sun_path) - 1);
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&where), sizeof(where)) ||
            ::listen(socket_, 64)) {
            throw std::runtime_error("cannot listen on " + path_);
        }
    }
    ~SilentSocket() {
        ::close(socket_);
        ::unlink(path_.c_str());
    }
    SilentSocket(const SilentSocket&) = delete;
    SilentSocket& operator=(const SilentSocket&) = delete;

  private:
    const std::string path_;
    const int socket_;
};

struct ClientRow {
    // The catalogue row.
    Endpoint EndpointCatalogue::*endpoint;
    // Makes the client and calls one operation.
    std::function<void(Executor&, const Endpoint&)> call;
    // The typed error's text, or the line logged when the operation raises
    // nothing.
    std::string failure;
};

std::string raised(const std::string& service, const std::string& operation) {
    return service + "::" + operation + ": DEADLINE_EXCEEDED - [Deadline Exceeded]";
}
std::string logged(const std::string& logger, const std::string& operation) {
    return logger + " ERROR: " + operation +
           " request failed, grpc error: Deadline Exceeded, code: DEADLINE_EXCEEDED";
}

const std::vector<ClientRow>& client_rows() {
    using C = EndpointCatalogue;
    using E = Executor;
    using P = const Endpoint&;
    static const std::vector<ClientRow> rows = {
        {&C::callproxy, [](E& x, P e) { calling::create_client(x, e)->StartRecording(1); },
         raised("CallProxyClient", "StartRecording")},
        {&C::callproxy, [](E& x, P e) { calling::create_client(x, e)->HoldMeeting(1, {}); },
         logged("CallProxyClient", "HoldMeeting")},
        {&C::callproxy, [](E& x, P e) { calling::create_client(x, e)->GetVideoStatistics(1); },
         raised("CallProxyClient", "GetVideoStatistics")},
        {&C::callproxy, [](E& x, P e) { calling::create_client(x, e)->SendDigit(1, {}); },
         raised("CallProxyClient", "SendDigit")},
        {&C::account_manager,
         [](E& x, P e) { accountmanager::create_client(x, e)->CreateNimboAccount(""); },
         raised("AccountManager", "CreateNimboAccount")},
        {&C::share_governor, [](E& x, P e) { sharegovernor::create_client(x, e)->StopAllShares(); },
         raised("ShareGovernor", "StopAllShares")},
        {&C::phonebook, [](E&, P e) { phonebook::create_client(e)->Search({}); },
         raised("PhonebookService", "Search")},
        {&C::avatar, [](E& x, P e) { avatar::create_avatar_client(x, e)->GetAvatar("", 0); },
         raised("Avatar Service", "GetAvatar")},
        {&C::configmanager, [](E& x, P e) { configmanager::create_client(x, e)->GetLocale(); },
         raised("Config Manager", "GetLocale")},
        {&C::krellconfigmanager,
         [](E& x, P e) { krellconfigmanager::create_client(x, e)->GetKRELLDeviceConfigValues(); },
         raised("KrellConfigManager", "GetKRELLDeviceConfigValues")},
        {&C::krellsecurity,
         [](E&, P e) { krellsecurity::create_krell_security_client(e)->VerifyLoadsFile(""); },
         raised("KRELL Security Service", "VerifyLoadsFile")},
        {&C::nimboconfigmanager,
         [](E& x, P e) { create_nimboconfigmanager_client(x, e)->GetPairingId(); },
         raised("NimboConfigManager", "GetPairingId")},
        {&C::certificatemanager,
         [](E&, P e) { create_certificatemanager_client(e)->CertGenerateCSR({}); },
         raised("CertificateManager", "CertGenerateCSR")},
        {&C::ringer, [](E&, P e) { ringer::create_client(e)->StopRinger(); },
         raised("Ringer Service", "StopRinger")},
        {&C::volumemgr, [](E&, P e) { create_volumemgr_client(e)->IsAudioHubEnabled(); },
         raised("VolumeManager", "IsAudioHubEnabled")},
        {&C::volumemgr, [](E&, P e) { create_volumemgr_client(e)->GetCurrentVolume(); },
         logged("VolumeMgrClient", "GetCurrentVolume")},
        {&C::reset, [](E&, P e) { create_reset_client(e)->FactoryReset(); },
         raised("ResetService", "FactoryReset")},
        {&C::systemcontroller, [](E& x, P e) { systemcontroller::create_client(x, e)->GetState(); },
         logged("SystemControllerClient", "GetState")},
        {&C::screensetting,
         [](E&, P e) { screensetting::create_screensetting_client(e)->GetScreenBrightness(); },
         raised("ScreenSettingService", "GetScreenBrightness")},
        {&C::hdmirx, [](E&, P e) { create_hdmirx_client(e)->GetHdmiState(); },
         logged("HdmiRxClient", "GetHdmiState")},
        {&C::ieee8021x, [](E&, P e) { create_ieee8021x_service_client(e)->GetIeee8021xState(); },
         raised("Ieee8021xService", "GetIeee8021xState")},
        {&C::upgrademanager,
         [](E&, P e) { upgrademanager::create_upgrademanager_client(e)->GetVersionInfo(); },
         raised("UpgradeManager", "GetVersionInfo")},
        {&C::featuremanager, [](E&, P e) { create_featuremanager_client(e)->GetAllFeatures(); },
         logged("FeatureManagerClient", "GetAllFeatures")},
        {&C::networkmanager, [](E&, P e) { create_networkmanager_client(e)->SetIpv4Config({}); },
         raised("NetworkManager", "SetIpv4Config")},
        {&C::networkstatusreporter,
         [](E& x, P e) { networkstatusreporter::create_client(x, e)->GetNetworkStatusReport(); },
         logged("Network Status Reporter Service", "GetNetworkStatusReport")},
        {&C::wifi, [](E&, P e) { wifi::create_wifi_service_client(e)->Enable(); },
         raised("Wifi Service", "Enable")},
        {&C::accesspoint, [](E&, P e) { create_ap_service_client(e)->GetAPModeState(); },
         raised("Access Point Service", "GetAPModeState")},
        {&C::nimboultrasound, [](E&, P e) { create_nimbo_ultrasound_client(e)->Enable(); },
         logged("Nimbo Ultrasound Service", "Enable")},
        {&C::nimbobranding,
         [](E& x, P e) { nimbobranding::create_client(x, e)->GetNimboBranding(); },
         raised("Nimbo Branding Service", "GetNimboBranding")},
        {&C::nimboroomcontrol,
         [](E&, P e) { nimboroomcontrol::create_nimboroomcontrol_client(e)->IncreaseVolume(); },
         raised("Nimbo Room Service", "IncreaseVolume")},
        {&C::nimboroomcontrol,
         [](E&, P e) { nimboroomcontrol::create_nimboroomcontrol_client(e)->SetVolume(1); },
         raised("Nimbo Room Service", "SetVolume")},
        {&C::nimbostatusreporter,
         [](E& x, P e) { nimbostatusreporter::create_client(x, e)->CheckCloudConnectivity(); },
         raised("Nimbo Status Reporter Service", "CheckCloudConnectivity")},
        {&C::calendar, [](E& x, P e) { create_calendar_client(x, e)->DismissCalendarEvents(); },
         raised("Calendar Service", "DismissCalendarEvents")},
        {&C::nfc, [](E& x, P e) { nfc::create_client(x, e)->GetCardState(); },
         raised("Nfc Service", "GetCardState")},
        {&C::media, [](E&, P e) { media::create_media_service_client(e)->AudioConnect({}); },
         raised("MediaServiceClient", "AudioConnect")},
        {&C::mediasession,
         [](E& x, P e) { create_mediasession_client(x, e)->SubscribeRemoteVideo({}); },
         raised("MediasessionClient", "SubscribeRemoteVideo")},
        {&C::problemreporter,
         [](E&, P e) { create_problemreporter_client(e)->get_prb_file_location(""); },
         raised("Problem Reporter Service", "GetPRBFileLocation")},
        {&C::problemreportstatus,
         [](E&, P e) { create_problemreportstatus_client(e)->GetProblemReports(); },
         raised("Problem Report Status Service", "GetProblemReports")},
    };
    return rows;
}

TEST(ClientFailures, EachClientGivesUpAtItsDeadlineNamingItsService) {
    TempDir dir;
    const EndpointCatalogue catalogue = endpoints_in_directory(dir.path().string());
    ManualExecutor executor;
    for (const ClientRow& row : client_rows()) {
        SCOPED_TRACE(row.failure);
        Endpoint endpoint = catalogue.*row.endpoint;
        endpoint.deadline = 100ms;
        SilentSocket backend(endpoint.address);
        ConsoleCapture console;
        const auto started = std::chrono::steady_clock::now();
        try {
            row.call(executor, endpoint);
            EXPECT_THAT(console.lines(), ::testing::Contains(row.failure));
        } catch (const ServiceDeadlineError& e) {
            EXPECT_EQ(e.what(), row.failure);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, 900ms);
    }
}

}  // namespace
}  // namespace vanta::testing
