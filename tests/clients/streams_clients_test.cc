// The room control and cloud status reporter clients, and the event streams of
// the backend clients that the plugins observe, against fake backends on
// temporary sockets.

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/avatar/avatar_client_impl.h"
#include "clients/configmanager/configmanager_client_impl.h"
#include "clients/krellconfigmanager/krellconfigmanager_client_impl.h"
#include "clients/networkstatusreporter/networkstatusreporter_client_impl.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client_impl.h"
#include "clients/nimboroomcontrol/nimboroomcontrol_client_impl.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"
#include "clients/systemcontroller/systemcontroller_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/loggers.h"
#include "sim/avatar_backend.h"
#include "sim/backend_server.h"
#include "sim/configmanager_backend.h"
#include "sim/krellconfigmanager_backend.h"
#include "sim/networkstatusreporter_backend.h"
#include "sim/nimboconfigmanager_backend.h"
#include "sim/nimboroomcontrol_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/systemcontroller_backend.h"
#include "support/console_capture.h"
#include "support/labelling_executor.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Room control.

struct RoomControlTest : ::testing::Test {
    TempDir dir;
    std::string address = dir.socket_address("nimboroomservice");
    sim::NimboRoomControlBackend fake;
    sim::BackendServer server{address, {&fake}};
    nimboroomcontrol::ClientImpl client{
        endpoint_at(device_endpoints().nimboroomcontrol, address, 2000ms)};
};

TEST_F(RoomControlTest, SendsEachOperationAndAnswersTheServicesReply) {
    nimboroomcontrol::Response yes;
    yes.set_success(true);
    for (const char* operation :
         {"IncreaseVolume", "SetVolume", "MuteMicrophone", "UnmuteMicrophone"}) {
        fake.reply(operation, yes);
    }
    EXPECT_TRUE(client.IncreaseVolume());
    EXPECT_FALSE(client.DecreaseVolume());
    EXPECT_TRUE(client.SetVolume(37));
    EXPECT_TRUE(client.MuteMicrophone());
    EXPECT_TRUE(client.UnmuteMicrophone());
    EXPECT_EQ(fake.last_request<nimboroomcontrol::VolumeValue>("SetVolume").volume(), 37u);

    nimboroomcontrol::SpaceDeviceInfo space;
    space.set_number_of_devices_in_space(2);
    space.mutable_self()->set_device_url("device://self");
    space.mutable_self()->add_roles(nimboroomcontrol::MAIN_AUDIO_RENDER);
    auto* companion = space.add_companions();
    companion->set_device_url("device://companion");
    companion->add_roles(nimboroomcontrol::PLAY_ULTRASOUND);
    companion->add_roles(nimboroomcontrol::CALL_CONTROL_MASTER);
    fake.reply("GetSpaceInfo", space);
    const auto answer = client.GetSpaceInfo();
    EXPECT_EQ(answer.number_of_devices_in_space(), 2u);
    EXPECT_EQ(answer.self().device_url(), "device://self");
    EXPECT_THAT(answer.self().roles(), ElementsAre(nimboroomcontrol::MAIN_AUDIO_RENDER));
    ASSERT_EQ(answer.companions_size(), 1);
    EXPECT_EQ(answer.companions(0).device_url(), "device://companion");
    EXPECT_THAT(answer.companions(0).roles(), ElementsAre(nimboroomcontrol::PLAY_ULTRASOUND,
                                                          nimboroomcontrol::CALL_CONTROL_MASTER));
    EXPECT_THAT(fake.calls(), ElementsAre("IncreaseVolume", "DecreaseVolume", "SetVolume",
                                          "MuteMicrophone", "UnmuteMicrophone", "GetSpaceInfo"));
}

TEST_F(RoomControlTest, FailuresRaiseTheTypedErrors) {
    fake.fail_with(grpc::StatusCode::UNAVAILABLE);
    EXPECT_THROW(client.SetVolume(5), ServiceUnavailableError);
    fake.fail_with(grpc::StatusCode::INVALID_ARGUMENT);
    EXPECT_THROW(client.GetSpaceInfo(), ServiceInvalidArgumentError);
}

// Cloud status reporter, unary operations.

struct StatusReporterTest : ::testing::Test {
    TempDir dir;
    std::string address = dir.socket_address("nimbostatusreporter_service");
    sim::NimboStatusReporterBackend fake;
    sim::BackendServer server{address, {&fake}};
    nimbostatusreporter::ClientImpl client{
        endpoint_at(device_endpoints().nimbostatusreporter, address, 2000ms)};
};

TEST_F(StatusReporterTest, SendsEachOperationAndAnswersTheServicesReply) {
    nimbostatusreporter::Response yes;
    yes.set_success(true);
    fake.reply("SetRefreshTokenStatus", yes);
    EXPECT_TRUE(
        client.SetRefreshTokenStatus(nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR));
    EXPECT_EQ(
        fake.last_request<nimbostatusreporter::RefreshTokenEvent>("SetRefreshTokenStatus").type(),
        nimbostatusreporter::RefreshTokenEvent::REFRESH_TOKEN_ERROR);

    nimbostatusreporter::CloudConnectivityResponse connectivity;
    connectivity.set_connectivity_state(
        nimbostatusreporter::CloudConnectivityResponse::CLOUD_CONNECTION_DOWN);
    fake.reply("CheckCloudConnectivity", connectivity);
    EXPECT_EQ(client.CheckCloudConnectivity(),
              nimbostatusreporter::CloudConnectivityResponse::CLOUD_CONNECTION_DOWN);

    nimbostatusreporter::NimboServiceStatus status;
    status.set_service_type(nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    status.set_url("https://cloud/credentials");
    status.set_status("ok");
    status.set_timestamp("2026-12-06T02:00:00Z");
    status.mutable_nimbo_credentials_service_status()->set_accesstoken_status("valid");
    fake.reply("GetNimboServiceStatus", status);
    const auto answer =
        client.GetNimboServiceStatus(nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(fake.last_request<nimbostatusreporter::NimboServiceStatus>("GetNimboServiceStatus")
                  .service_type(),
              nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(answer.service_type(), nimbostatusreporter::NimboServiceStatus::CREDENTIALS);
    EXPECT_EQ(answer.url(), "https://cloud/credentials");
    EXPECT_EQ(answer.status(), "ok");
    EXPECT_EQ(answer.timestamp(), "2026-12-06T02:00:00Z");
    EXPECT_EQ(answer.nimbo_credentials_service_status().accesstoken_status(), "valid");
}

TEST_F(StatusReporterTest, FailuresRaiseTheTypedErrors) {
    fake.fail_with(grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_THROW(client.CheckCloudConnectivity(), ServiceDeadlineError);
    fake.fail_with(grpc::StatusCode::NOT_FOUND);
    EXPECT_THROW(client.GetNimboServiceStatus(nimbostatusreporter::NimboServiceStatus::METRICS),
                 ServiceResourceNotFoundError);
}

// Event streams: the same checks for every observable client. Each backend
// describes its fake, its client, its "stream started" event (if it has one),
// three ordinary events and what its client writes when observing starts
// and stops.

template <typename Event>
Event what_event(decltype(Event().what()) what) {
    Event event;
    event.set_what(what);
    return event;
}

struct SystemControllerStreams {
    using Fake = sim::SystemControllerBackend;
    using Client = systemcontroller::ClientImpl;
    using Event = systemcontroller::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().systemcontroller, address, 2000ms),
            logging::getLogger("SystemControllerClient"), &executor);
    }
    static std::optional<Event> started() {
        return what_event<Event>(systemcontroller::STREAM_STARTED);
    }
    static std::vector<Event> events() {
        return {what_event<Event>(systemcontroller::SYSTEM_STATE_CHANGED),
                what_event<Event>(systemcontroller::DEVICE_STATE_CHANGED),
                what_event<Event>(systemcontroller::UNKNOWN_CHANGE)};
    }
    static constexpr const char* kName = "systemcontroller";
};

struct AvatarStreams {
    using Fake = sim::AvatarBackend;
    using Client = avatar::ClientImpl;
    using Event = avatar::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(endpoint_at(device_endpoints().avatar, address, 2000ms),
                                        &executor);
    }
    static std::optional<Event> started() {
        Event event;
        event.mutable_stream_started();
        return event;
    }
    static Event avatar_of(const std::string& uuid) {
        Event event;
        event.mutable_avatar_info()->set_uuid(uuid);
        event.mutable_avatar_info()->set_path("/tmp/avatars/" + uuid);
        return event;
    }
    static std::vector<Event> events() { return {avatar_of("a"), avatar_of("b"), avatar_of("c")}; }
    static constexpr const char* kName = "avatar";
};

struct NetworkStatusReporterStreams {
    using Fake = sim::NetworkStatusReporterBackend;
    using Client = networkstatusreporter::ClientImpl;
    using Event = networkstatusreporter::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().networkstatusreporter, address, 2000ms), &executor);
    }
    static std::optional<Event> started() {
        return what_event<Event>(networkstatusreporter::STREAM_STARTED);
    }
    static std::vector<Event> events() {
        return {what_event<Event>(networkstatusreporter::BOOTSTRAP_STATE_CHANGED),
                what_event<Event>(networkstatusreporter::UNKNOWN_CHANGE),
                what_event<Event>(networkstatusreporter::BOOTSTRAP_STATE_CHANGED)};
    }
    static constexpr const char* kName = "networkstatusreporter";
};

struct ConfigManagerStreams {
    using Fake = sim::ConfigManagerBackend;
    using Client = configmanager::ClientImpl;
    using Event = configmanager::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().configmanager, address, 2000ms), &executor);
    }
    static std::optional<Event> started() {
        return what_event<Event>(configmanager::STREAM_STARTED);
    }
    static std::vector<Event> events() {
        return {what_event<Event>(configmanager::LOCALE_CHANGED),
                what_event<Event>(configmanager::RINGTONE_CHANGED),
                what_event<Event>(configmanager::GEO_SERVICE_INFO_CHANGED)};
    }
    static constexpr const char* kName = "configmanager";
};

struct KrellConfigManagerStreams {
    using Fake = sim::KrellConfigManagerBackend;
    using Client = krellconfigmanager::ClientImpl;
    using Event = krellconfigmanager::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().krellconfigmanager, address, 2000ms), &executor);
    }
    static std::optional<Event> started() {
        return what_event<Event>(krellconfigmanager::STREAM_STARTED);
    }
    static std::vector<Event> events() {
        return {what_event<Event>(krellconfigmanager::ACCOUNT_STATE_CHANGED),
                what_event<Event>(krellconfigmanager::UNKNOWN_CHANGE),
                what_event<Event>(krellconfigmanager::ACCOUNT_STATE_CHANGED)};
    }
    static constexpr const char* kName = "krellconfigmanager";
};

struct NimboConfigManagerStreams {
    using Fake = sim::NimboConfigManagerBackend;
    using Client = nimboconfigmanager::ClientImpl;
    using Event = nimboconfigmanager::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().nimboconfigmanager, address, 2000ms), &executor);
    }
    static std::optional<Event> started() {
        return what_event<Event>(nimboconfigmanager::STREAM_STARTED);
    }
    static std::vector<Event> events() {
        return {what_event<Event>(nimboconfigmanager::ACCOUNT_CHANGED),
                what_event<Event>(nimboconfigmanager::LANGUAGE_CHANGED),
                what_event<Event>(nimboconfigmanager::TIMEZONE_CHANGED)};
    }
    static constexpr const char* kName = "nimboconfigmanager";
};

// The reporter announces no stream start and subscribes with `subscribe`.
struct NimboStatusReporterStreams {
    using Fake = sim::NimboStatusReporterBackend;
    using Client = nimbostatusreporter::ClientImpl;
    using Event = nimbostatusreporter::Event;
    static std::unique_ptr<Client> make(const std::string& address, Executor& executor) {
        return std::make_unique<Client>(
            endpoint_at(device_endpoints().nimbostatusreporter, address, 2000ms), &executor);
    }
    static std::optional<Event> started() { return std::nullopt; }
    static std::vector<Event> events() {
        return {what_event<Event>(nimbostatusreporter::CALENDAR_CHANGED),
                what_event<Event>(nimbostatusreporter::CREDENTIALS_CHANGED),
                what_event<Event>(nimbostatusreporter::GEO_SERVICE_CHANGED)};
    }
    static constexpr const char* kName = "nimbostatusreporter";
    static constexpr const char* kStart = "subscribe=true";
    static constexpr const char* kStop = "subscribe=false";
};

template <typename Backend, typename = void>
struct SubscriptionWords {
    static constexpr const char* kStart = "unsubscribe=false";
    static constexpr const char* kStop = "unsubscribe=true";
};
template <typename Backend>
struct SubscriptionWords<Backend, std::void_t<decltype(Backend::kStart)>> {
    static constexpr const char* kStart = Backend::kStart;
    static constexpr const char* kStop = Backend::kStop;
};

// What an observer was told, in order: "ready" or the event's text.
template <typename Event>
class Observed {
  public:
    std::function<void(const Event&)> on_event() {
        return [this](const Event& event) { add(event.ShortDebugString()); };
    }
    std::function<void()> on_ready() {
        return [this] { add("ready"); };
    }
    std::vector<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    bool wait_for(size_t count) {
        return wait_until([&] { return seen().size() >= count; }, 5s);
    }

  private:
    void add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(entry);
    }
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

template <typename Backend>
class EventStreamTest : public ::testing::Test {
  protected:
    using Event = typename Backend::Event;
    using Words = SubscriptionWords<Backend>;

    ~EventStreamTest() override {
        client_->RemoveObserver();
        executor_.run();
    }

    void start_server() {
        server_ = std::make_unique<sim::BackendServer>(
            address_, std::initializer_list<grpc::Service*>{&fake_});
    }
    size_t reconnect_log_lines() const {
        const std::string line = " I: reconnect_stream";
        size_t count = 0;
        for (const auto& entry : console_.lines()) {
            if (entry.size() >= line.size() &&
                entry.compare(entry.size() - line.size(), line.size(), line) == 0) {
                ++count;
            }
        }
        return count;
    }
    static std::vector<std::string> texts(const std::vector<Event>& events) {
        std::vector<std::string> result;
        for (const auto& event : events) {
            result.push_back(event.ShortDebugString());
        }
        return result;
    }

    ConsoleCapture console_;
    TempDir dir_;
    std::string address_ = dir_.socket_address("backend");
    typename Backend::Fake fake_;
    std::unique_ptr<sim::BackendServer> server_ = std::make_unique<sim::BackendServer>(
        address_, std::initializer_list<grpc::Service*>{&fake_});
    LabellingExecutor executor_;
    std::unique_ptr<typename Backend::Client> client_ = Backend::make(address_, executor_);
    Observed<Event> observed_;
};

using ObservableBackends =
    ::testing::Types<SystemControllerStreams, AvatarStreams, NetworkStatusReporterStreams,
                     ConfigManagerStreams, KrellConfigManagerStreams, NimboConfigManagerStreams,
                     NimboStatusReporterStreams>;
TYPED_TEST_SUITE(EventStreamTest, ObservableBackends);

TYPED_TEST(EventStreamTest, EventsReachTheObserverInOrderAndStreamStartedTheReadyCallback) {
    this->client_->SetObserver(this->observed_.on_event(), this->observed_.on_ready());
    ASSERT_TRUE(this->fake_.streams.wait_for_opened(1));
    std::vector<std::string> expected;
    if (const auto started = TypeParam::started()) {
        this->fake_.streams.publish(*started);
        expected.push_back("ready");
    }
    for (const auto& event : TypeParam::events()) {
        this->fake_.streams.publish(event);
    }
    for (const auto& text : this->texts(TypeParam::events())) {
        expected.push_back(text);
    }
    ASSERT_TRUE(this->observed_.wait_for(expected.size()));
    EXPECT_THAT(this->observed_.seen(), ElementsAreArray(expected));
    ASSERT_TRUE(this->fake_.streams.wait_for_journal(1));
    EXPECT_EQ(this->fake_.streams.journal()[0], TestFixture::Words::kStart);
}

TYPED_TEST(EventStreamTest, ASecondObserverIsRefusedAndTheFirstKeepsItsStream) {
    Observed<typename TypeParam::Event> second;
    this->client_->SetObserver(this->observed_.on_event(), this->observed_.on_ready());
    ASSERT_TRUE(this->fake_.streams.wait_for_opened(1));
    try {
        this->client_->SetObserver(second.on_event(), second.on_ready(), [] {});
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), std::string(TypeParam::kName) +
                                             "::SetObserver : Only one observer per client at "
                                             "a time");
    }
    this->fake_.streams.publish(TypeParam::events()[0]);
    ASSERT_TRUE(this->observed_.wait_for(1));
    EXPECT_TRUE(second.seen().empty());
    EXPECT_EQ(this->fake_.streams.opened(), 1);
}

TYPED_TEST(EventStreamTest, ABackendRestartQueuesExactlyOneReconnection) {
    this->client_->SetObserver(this->observed_.on_event(), this->observed_.on_ready());
    ASSERT_TRUE(this->fake_.streams.wait_for_opened(1));

    this->server_->shutdown();
    ASSERT_TRUE(wait_until([&] { return this->executor_.count("reconnect_stream") == 1; }, 5s));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(this->executor_.count("reconnect_stream"), 1u);
    EXPECT_EQ(this->reconnect_log_lines(), 1u);

    // The backend is back: the queued work subscribes again, on a new stream.
    this->start_server();
    ASSERT_TRUE(wait_until(
        [&] {
            this->executor_.run();
            return this->fake_.streams.open_streams() == 1;
        },
        10s));
    this->fake_.streams.publish(TypeParam::events()[1]);
    ASSERT_TRUE(this->observed_.wait_for(1));
    EXPECT_EQ(this->observed_.seen().back(), TypeParam::events()[1].ShortDebugString());
    EXPECT_EQ(this->executor_.count("reconnect_stream"), 1u);
}

TYPED_TEST(EventStreamTest, NothingFollowsRemoveObserver) {
    this->client_->SetObserver(this->observed_.on_event(), this->observed_.on_ready());
    ASSERT_TRUE(this->fake_.streams.wait_for_journal(1));
    this->client_->RemoveObserver();
    // The backend hears the end of observation, then the client's half-close.
    ASSERT_TRUE(this->fake_.streams.wait_for_journal(3));
    EXPECT_THAT(this->fake_.streams.journal(),
                ElementsAre(TestFixture::Words::kStart, TestFixture::Words::kStop, "half-close"));
    this->fake_.streams.publish(TypeParam::events()[0]);
    this->server_->shutdown();
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(this->observed_.seen().empty());
    EXPECT_EQ(this->executor_.count("reconnect_stream"), 0u);
    EXPECT_EQ(this->fake_.streams.opened(), 1);
}

}  // namespace
}  // namespace vanta::testing
