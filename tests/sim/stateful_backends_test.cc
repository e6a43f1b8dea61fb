// The simulated backends that keep state: what a client changes is read back,
// and announced on the bus or the backend's stream as the device does.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "sim/accesspoint_backend.h"
#include "sim/accountmanager_backend.h"
#include "sim/backend_server.h"
#include "sim/featuremanager_backend.h"
#include "sim/media_backend.h"
#include "sim/networkmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nimboultrasound_backend.h"
#include "sim/upgrademanager_backend.h"
#include "sim/wifi_backend.h"
#include "support/temp_dir.h"

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// What the backends announce on the bus, one line each:
// "<topic> <event> [<data>] [<attribute>=<value> ...]".
class Announcements {
  public:
    BusAnnouncer::Publish sink() {
        return [this](const vanta::pubsub::PublishRequest& request) {
            const auto& message = request.data();
            std::string line = message.topic() + " " + std::to_string(message.event());
            if (!message.data().empty()) {
                line += " " + message.data();
            }
            const std::map<std::string, std::string> sorted(message.attributes().begin(),
                                                            message.attributes().end());
            for (const auto& [key, value] : sorted) {
                line += " " + key + "=" + value;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
            changed_.notify_all();
        };
    }
    // The lines so far, once there are `count` (or after five seconds).
    std::vector<std::string> wait_for(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return lines_.size() >= count; });
        return lines_;
    }
    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(lines_, {});
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

template <typename Response, typename Stub, typename Request>
grpc::Status call(Stub& stub,
                  grpc::Status (Stub::*operation)(grpc::ClientContext*, const Request&, Response*),
                  const Request& request, Response* response) {
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(10));
    return (stub.*operation)(&context, request, response);
}

// Answers `operation` or fails the test.
template <typename Response, typename Stub, typename Request>
Response ask(Stub& stub,
             grpc::Status (Stub::*operation)(grpc::ClientContext*, const Request&, Response*),
             const Request& request = {}) {
    Response response;
    const grpc::Status status = call(stub, operation, request, &response);
    EXPECT_TRUE(status.ok()) << status.error_message();
    return response;
}

// Every stateful backend on one temporary socket, announcing to the test.
// (Public: the rows of the table below use it.)
class StatefulBackendsTest : public ::testing::Test {
  public:
    StatefulBackendsTest() {
        for (BusAnnouncer* bus : {&wifi_.bus, &access_point_.bus, &network_.bus, &features_.bus,
                                  &upgrades_.bus, &ultrasound_.bus}) {
            bus->connect(announcements_.sink());
        }
        upgrades_.set_step(std::chrono::milliseconds(1));
    }

    vanta::testing::TempDir dir_;
    Announcements announcements_;
    WifiBackend wifi_;
    AccessPointBackend access_point_;
    NetworkManagerBackend network_;
    FeatureManagerBackend features_;
    UpgradeManagerBackend upgrades_;
    NimboUltrasoundBackend ultrasound_;
    NetworkStatusReporterBackend network_status_;
    AccountManagerBackend accounts_;
    MediaBackend media_;
    const std::string address_ = dir_.socket_address("backends");
    BackendServer server_{address_,
                          {&wifi_, &access_point_, &network_, &features_, &upgrades_, &ultrasound_,
                           &network_status_, &accounts_, &media_}};
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(address_, grpc::InsecureChannelCredentials());

    wifi::Wifi::Stub wifi{channel_};
    accesspoint::AccessPoint::Stub access_point{channel_};
    networkmanager::NetworkManager::Stub network{channel_};
    networkstatusreporter::NetworkStatusReporter::Stub network_status{channel_};
    featuremanager::FeatureManager::Stub features{channel_};
    upgrademanager::UpgradeManager::Stub upgrades{channel_};
    nimboultrasound::NimboUltraSoundSvc::Stub ultrasound{channel_};
    accountmanager::AccountManager::Stub accounts{channel_};
    media::Media::Stub media{channel_};

    // What a row's change notes for its read-back.
    std::string noted_;
};

wifi::ConfigInfo network_named(const std::string& ssid) {
    wifi::ConfigInfo config;
    config.set_ssid(ssid);
    config.set_security_method(wifi::WPA2_PSK_METHOD);
    config.set_psk("correct horse");
    return config;
}

std::string wifi_state(wifi::Wifi::Stub& stub) {
    using W = wifi::Wifi::Stub;
    return wifi::WifiStatusType_Name(ask(stub, &W::GetStatus, wifi::Empty()).status()) + " " +
           ask(stub, &W::GetConfig, wifi::Empty()).ssid() + " " +
           ask(stub, &W::GetSupplicantStatus, wifi::Empty()).status();
}

struct ChangeRow {
    std::string name;
    // The change, through the backend's clients.
    std::function<void(StatefulBackendsTest&)> change;
    // What reading back shows afterwards.
    std::function<std::string(StatefulBackendsTest&)> read_back;
    std::string expected;
    std::vector<std::string> announced;
};

void PrintTo(const ChangeRow& row, std::ostream* out) {
    *out << row.name;
}

class StatefulBackendChangeTest : public StatefulBackendsTest,
                                  public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(StatefulBackendChangeTest, IsKeptAndAnnounced) {
    const ChangeRow& row = GetParam();
    row.change(*this);
    EXPECT_EQ(row.read_back(*this), row.expected);
    EXPECT_THAT(announcements_.wait_for(row.announced.size()), ElementsAreArray(row.announced));
}

using W = wifi::Wifi::Stub;
using AP = accesspoint::AccessPoint::Stub;
using F = featuremanager::FeatureManager::Stub;
using U = upgrademanager::UpgradeManager::Stub;
using N = networkmanager::NetworkManager::Stub;
using US = nimboultrasound::NimboUltraSoundSvc::Stub;

std::string upgrade_state(U& stub) {
    return upgrademanager::UpgradeState::code_Name(
               ask(stub, &U::GetUpgradeState, upgrademanager::Request()).state()) +
           " " + ask(stub, &U::GetVersionInfo, upgrademanager::Request()).version();
}

std::string pairing_codes(US& stub) {
    return ask(stub, &US::GetGuestToken, google::protobuf::Empty()).token() + " " +
           ask(stub, &US::GetManualPairPin, google::protobuf::Empty()).pin();
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StatefulBackendChangeTest,
    ::testing::Values(
        ChangeRow{"WifiJoinsNearbyNetwork",
                  [](auto& t) { ask(t.wifi, &W::SetConfig, network_named("Meeting-Rooms")); },
                  [](auto& t) { return wifi_state(t.wifi); },
                  "CONNECTED Meeting-Rooms COMPLETED",
                  {"WifiConfigChangeEvent 0", "WifiConnectionEvent 0 Meeting-Rooms",
                   "WifiSignalLevelEvent 0 SIGNAL_LEVEL_FOUR"}},
        ChangeRow{"WifiConfiguredOutOfRange",
                  [](auto& t) { ask(t.wifi, &W::SetConfig, network_named("Elsewhere")); },
                  [](auto& t) { return wifi_state(t.wifi); },
                  "DISCONNECTED Elsewhere DISCONNECTED",
                  {"WifiConfigChangeEvent 0", "WifiConnectionEvent 2 no network in range"}},
        ChangeRow{"WifiForgetsItsNetwork",
                  [](auto& t) {
                      ask(t.wifi, &W::SetConfig, network_named("Office-Guest"));
                      ask(t.wifi, &W::ClearConfig, wifi::Empty());
                  },
                  [](auto& t) { return wifi_state(t.wifi); },
                  "NOT_CONFIGURED  INACTIVE",
                  {"WifiConfigChangeEvent 0", "WifiConnectionEvent 0 Office-Guest",
                   "WifiSignalLevelEvent 0 SIGNAL_LEVEL_THREE", "WifiConfigChangeEvent 0",
                   "WifiConnectionEvent 1 left Office-Guest"}},
        ChangeRow{
            "WifiSwitchedOffSeesNothing",
            [](auto& t) { ask(t.wifi, &W::Disable, wifi::Empty()); },
            [](auto& t) {
                return std::to_string(
                           ask(t.wifi, &W::GetNetworkList, wifi::Empty()).network_list_size()) +
                       " " + wifi_state(t.wifi);
            },
            "0 INTERFACE_DISABLED  INTERFACE_DISABLED",
            {"WifiEnableStateEvent 0 False"}},
        ChangeRow{
            "AccessPointSwitchedOn",
            [](auto& t) {
                accesspoint::StateRequest on;
                on.set_state(accesspoint::ENABLED);
                EXPECT_TRUE(ask(t.access_point, &AP::SetAPModeState, on).enable());
            },
            [](auto& t) {
                return accesspoint::APModeState_Name(
                    ask(t.access_point, &AP::GetAPModeState, google::protobuf::Empty()).state());
            },
            "ENABLED",
            {"APModeEvent 1 ip_address=192.168.4.1 passphrase=setup-7781-koala "
             "ssid=Vanta-Setup-4F2A"}},
        ChangeRow{"FeatureSwitchedOn",
                  [](auto& t) {
                      featuremanager::FeatureInfoRequest request;
                      request.set_feature_name("noise_suppression");
                      EXPECT_TRUE(ask(t.features, &F::EnableFeature, request).success());
                  },
                  [](auto& t) {
                      featuremanager::FeatureInfoRequest request;
                      request.set_feature_name("noise_suppression");
                      return featuremanager::FeatureState_Name(
                          ask(t.features, &F::GetFeatureInfo, request).feature_state());
                  },
                  "ENABLE",
                  {"FeatureToggleEvent 1 name=noise_suppression value=1"}},
        ChangeRow{"ProxySet",
                  [](auto& t) {
                      networkmanager::ProxyConfigItems items;
                      items.add_items()->set_mode(networkmanager::PROXY_MANUAL);
                      items.add_items()->set_url("http://proxy.office.example:3128");
                      EXPECT_TRUE(ask(t.network, &N::SetProxyConfig, items).success());
                  },
                  [](auto& t) {
                      return ask(t.network, &N::GetProxyConfig, google::protobuf::Empty())
                          .ShortDebugString();
                  },
                  "mode: PROXY_MANUAL url: \"http://proxy.office.example:3128\"",
                  {"ProxyConfigEvent 1"}},
        ChangeRow{"UpgradeChannelWithoutNewerVersion",
                  [](auto& t) {
                      upgrademanager::UpgradeInfo info;
                      info.set_channel("lts");
                      ask(t.upgrades, &U::SetUpgradeChannel, info);
                  },
                  [](auto& t) { return upgrade_state(t.upgrades); },
                  "IDLE 2.6.1",
                  {"UpgradeInfoEvent 1", "UpgradeInfoEvent 3 False", "UpgradeEvent 2"}},
        ChangeRow{"UpgradeDownloadedInstalledAndRebooted",
                  [](auto& t) {
                      ask(t.upgrades, &U::StartDownload, upgrademanager::Request());
                      ASSERT_TRUE(t.upgrades_.wait_until_settled());
                  },
                  [](auto& t) { return upgrade_state(t.upgrades); },
                  "IDLE 2.7.0",
                  {"UpgradeEvent 5", "ImageUpgradeEvent 1 0 stage=download",
                   "ImageUpgradeEvent 1 25 stage=download", "ImageUpgradeEvent 1 50 stage=download",
                   "ImageUpgradeEvent 1 75 stage=download",
                   "ImageUpgradeEvent 1 100 stage=download", "UpgradeEvent 1",
                   "ImageUpgradeEvent 1 0 stage=install", "ImageUpgradeEvent 1 25 stage=install",
                   "ImageUpgradeEvent 1 50 stage=install", "ImageUpgradeEvent 1 75 stage=install",
                   "ImageUpgradeEvent 1 100 stage=install", "UpgradeEvent 3", "UpgradeEvent 2"}},
        ChangeRow{"UltrasoundOnAgainDrawsNewCodes",
                  [](auto& t) {
                      t.noted_ = pairing_codes(t.ultrasound);
                      ask(t.ultrasound, &US::Disable, google::protobuf::Empty());
                      ask(t.ultrasound, &US::Enable, google::protobuf::Empty());
                  },
                  [](auto& t) {
                      const std::string now = pairing_codes(t.ultrasound);
                      return now == t.noted_ ? "kept " + now : "renewed";
                  },
                  "renewed",
                  {"GuestTokenEvent 1", "ManualPairEvent 1"}}),
    [](const auto& info) { return info.param.name; });

// What a UI first sees of a fresh device: plausible values, not zeros.
TEST_F(StatefulBackendsTest, FreshDeviceLooksReal) {
    const auto networks = ask(wifi, &W::GetNetworkList, wifi::Empty()).network_list();
    ASSERT_GE(networks.size(), 3);
    for (const auto& network : networks) {
        EXPECT_FALSE(network.ssid().empty());
        EXPECT_LT(std::stoi(network.rssi()), -30) << network.ssid();
        EXPECT_GT(std::stoi(network.rssi()), -90) << network.ssid();
    }

    const auto all = ask(features, &F::GetAllFeatures, featuremanager::Empty()).features();
    ASSERT_GE(all.size(), 3);
    const auto on = std::count_if(all.begin(), all.end(), [](const auto& feature) {
        return feature.feature_state() == featuremanager::ENABLE;
    });
    EXPECT_GT(on, 0);
    EXPECT_LT(on, all.size());

    EXPECT_EQ(upgrade_state(upgrades), "UPGRADE_AVAILABLE 2.6.1");
    EXPECT_EQ(ask(upgrades, &U::GetUpgradeInfo, upgrademanager::Request()).channel(), "stable");

    const auto report = ask(
        network_status, &networkstatusreporter::NetworkStatusReporter::Stub::GetNetworkStatusReport,
        networkstatusreporter::Empty());
    EXPECT_EQ(report.state(), networkstatusreporter::NetworkStatusReport::CONNECTED);
    EXPECT_EQ(report.ipaddress(), "192.168.1.57");
    networkmanager::InterfaceInfoRequest eth0;
    eth0.set_interface("eth0");
    const auto wired = ask(network, &N::GetInterfaceInfo, eth0);
    EXPECT_EQ(wired.interface_state(), networkmanager::LINK_STATE_UP);
    EXPECT_EQ(wired.ipv4_address(), report.ipaddress());

    EXPECT_THAT(ask(ultrasound, &US::GetGuestToken, google::protobuf::Empty()).token(),
                ::testing::MatchesRegex("G-[0-9A-F]{4}-[0-9A-F]{4}"));
    EXPECT_THAT(ask(ultrasound, &US::GetManualPairPin, google::protobuf::Empty()).pin(),
                ::testing::MatchesRegex("[0-9]{6}"));
}

// A test's script overrides the state; a scripted failure changes nothing.
TEST_F(StatefulBackendsTest, ScriptsOverrideTheState) {
    wifi::WifiStatus scripted;
    scripted.set_status(wifi::AP_MODE);
    wifi_.reply("GetStatus", scripted);
    ask(wifi, &W::SetConfig, network_named("Meeting-Rooms"));
    EXPECT_EQ(ask(wifi, &W::GetStatus, wifi::Empty()).status(), wifi::AP_MODE);

    wifi_.fail_with(grpc::StatusCode::UNAVAILABLE);
    wifi::RequestStatus refused;
    EXPECT_EQ(call(wifi, &W::SetConfig, network_named("Office-Guest"), &refused).error_code(),
              grpc::StatusCode::UNAVAILABLE);
    wifi_.fail_with(grpc::StatusCode::OK);
    EXPECT_EQ(ask(wifi, &W::GetConfig, wifi::Empty()).ssid(), "Meeting-Rooms");
    EXPECT_THAT(announcements_.take(),
                ElementsAre("WifiConfigChangeEvent 0", "WifiConnectionEvent 0 Meeting-Rooms",
                            "WifiSignalLevelEvent 0 SIGNAL_LEVEL_FOUR"));
}

std::vector<std::string> account_lines(accountmanager::AccountManager::Stub& stub) {
    const auto list = ask(stub, &accountmanager::AccountManager::Stub::ListAccountStates,
                          google::protobuf::Empty());
    std::vector<std::string> lines;
    for (const auto& state : list.state_list()) {
        lines.push_back(
            state.account_id().id() + " " + accountmanager::AccountType_Name(state.account_type()) +
            " " + accountmanager::ActivationState::State_Name(state.activation_state().state()) +
            " " +
            accountmanager::RegistrationState::State_Name(state.registration_state().state()));
    }
    return lines;
}

TEST_F(StatefulBackendsTest, AccountCreatedIsAnnouncedListedAndDeleted) {
    using A = accountmanager::AccountManager::Stub;
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(10));
    auto stream = accounts.Subscribe(&context);
    ASSERT_TRUE(accounts_.events.wait_for_open_streams(1));
    const auto read = [&] {
        accountmanager::Event event;
        EXPECT_TRUE(stream->Read(&event));
        return event.account_id().id() + " " + accountmanager::EventType_Name(event.what());
    };

    accountmanager::ActivationRequest request;
    request.mutable_krell_activation()->add_tftp_ip_address("10.20.0.5");
    const auto created = ask(accounts, &A::CreateAccount, request);
    EXPECT_EQ(created.status(), accountmanager::ActivationResponse::STARTED);
    const std::string id = created.account_id().id();
    EXPECT_EQ(read(), id + " ACCOUNT_ACTIVATION_CHANGED");
    EXPECT_EQ(read(), id + " ACCOUNT_REGISTRATION_CHANGED");
    EXPECT_THAT(account_lines(accounts), ElementsAre("krell-2 KRELL ACTIVATED REGISTERED",
                                                     "nimbo-1 NIMBO ACTIVATED REGISTERED"));
    accountmanager::AccountId account;
    account.set_id(id);
    EXPECT_EQ(ask(accounts, &A::GetAccountDetails, account).krell_account_details().server(),
              "10.20.0.5");

    ask(accounts, &A::DeleteAccount, account);
    EXPECT_EQ(read(), id + " ACCOUNT_ACTIVATION_CHANGED");
    EXPECT_THAT(account_lines(accounts), ElementsAre("nimbo-1 NIMBO ACTIVATED REGISTERED"));
    google::protobuf::Empty none;
    EXPECT_EQ(call(accounts, &A::DeleteAccount, account, &none).error_code(),
              grpc::StatusCode::NOT_FOUND);

    EXPECT_EQ(ask(accounts, &A::CreateAccount, accountmanager::ActivationRequest()).status(),
              accountmanager::ActivationResponse::MALFORMED_REQUEST);
    stream->WritesDone();
    EXPECT_TRUE(stream->Finish().ok());
}

TEST_F(StatefulBackendsTest, ToneSoundsFromPlayUntilStop) {
    using M = media::Media::Stub;
    const auto resource = ask(media, &M::AllocateToneInput, media::ToneInputRequest());
    media::PlayToneRequest play;
    *play.mutable_id() = resource;
    play.set_tone(media::RINGBACK);
    EXPECT_TRUE(ask(media, &M::PlayTone, play).success());
    const auto playing = media_.playing();
    ASSERT_EQ(playing.size(), 1u);
    EXPECT_EQ(playing[0].id().id(), resource.id());
    EXPECT_EQ(playing[0].tone(), media::RINGBACK);

    EXPECT_TRUE(ask(media, &M::StopTone, resource).success());
    EXPECT_THAT(media_.playing(), IsEmpty());
}

}  // namespace
}  // namespace vanta::sim
