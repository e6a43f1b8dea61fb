// The simulated volume manager, call control, calendar, configuration and
// system controller keep their state and announce its changes as the device
// does: on the bus (through the simulator's broker) or on their own streams.
// Everything goes through real gRPC clients on temporary sockets.

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "sim/calendar_backend.h"
#include "sim/calling_backend.h"
#include "sim/configmanager_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/volumemgr_backend.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using vanta::testing::TempDir;

constexpr std::chrono::seconds kPatience{10};

template <typename Message>
Message from_text(const std::string& text) {
    Message message;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text, &message)) << text;
    return message;
}

// `operation` asked with the request in text form; its answer in short text
// form, or the status code's number after "error ".
template <typename Stub, typename Request, typename Response>
std::string ask(Stub& stub,
                grpc::Status (Stub::*operation)(grpc::ClientContext*, const Request&, Response*),
                const std::string& request = "") {
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + kPatience);
    Response response;
    const grpc::Status status = (stub.*operation)(&context, from_text<Request>(request), &response);
    return status.ok() ? response.ShortDebugString()
                       : "error " + std::to_string(status.error_code());
}

// A client's Subscribe stream on a backend, read one event at a time.
template <typename Stub, typename Request, typename Event>
class Subscription {
  public:
    Subscription(Stub& stub, const std::string& request) {
        context_.set_deadline(std::chrono::system_clock::now() + kPatience);
        stream_ = stub.Subscribe(&context_);
        stream_->Write(from_text<Request>(request));
    }
    ~Subscription() {
        context_.TryCancel();
        stream_->Finish();
    }
    // The next event in short text form ("" when the stream ended).
    std::string next() {
        Event event;
        return stream_->Read(&event) ? event.ShortDebugString() : "";
    }
    std::vector<std::string> next(size_t count) {
        std::vector<std::string> events;
        for (size_t i = 0; i < count; ++i) {
            events.push_back(next());
        }
        return events;
    }

  private:
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<Request, Event>> stream_;
};

// One backend on a temporary socket and a client of it.
template <typename Backend>
struct Served {
    template <typename... Arguments>
    explicit Served(Arguments&&... arguments) : backend(std::forward<Arguments>(arguments)...) {}

    TempDir dir;
    Backend backend;
    BackendServer server{dir.socket_address("backend"), {&backend}};
    std::shared_ptr<grpc::Channel> channel =
        grpc::CreateChannel(dir.socket_address("backend"), grpc::InsecureChannelCredentials());
};

// --- The volume manager and the bus -------------------------------------

using VolumeStub = volumemgr::VolumeMgr::Stub;

// The volume manager announcing on a broker of its own.
struct VolumeOnBus : Served<VolumeMgrBackend> {
    VolumeOnBus() {
        backend.bus.connect(
            [this](const pubsub::PublishRequest& request) { broker.publish(request); });
    }
    // "<topic> <event> [<data>]" of each message published on the broker.
    std::vector<std::string> announced() const {
        std::vector<std::string> lines;
        for (const auto& request : broker.publish_requests()) {
            const auto& message = request.data();
            lines.push_back(message.topic() + " " + std::to_string(message.event()) +
                            (message.data().empty() ? "" : " " + message.data()));
        }
        return lines;
    }

    BusBroker broker{dir.socket_address("bus")};
    VolumeStub stub{channel};
};

struct VolumeRow {
    std::string name;
    std::function<void(VolumeOnBus&)> change;
    // The volume, ringer volume, ultrasound volume and mute read back.
    std::string state;
    std::vector<std::string> announced;
};

std::string volume_state(VolumeStub& stub) {
    return ask(stub, &VolumeStub::GetCurrentVolume) + " | " +
           ask(stub, &VolumeStub::GetRingerVolume) + " | " +
           ask(stub, &VolumeStub::GetUltraSoundVolume) + " | " +
           ask(stub, &VolumeStub::IsAudioMute);
}

void PrintTo(const VolumeRow& row, std::ostream* out) {
    *out << row.name;
}

class VolumeChangeTest : public ::testing::TestWithParam<VolumeRow> {};

TEST_P(VolumeChangeTest, IsKeptAndOnlyAChangeIsAnnounced) {
    VolumeOnBus device;
    GetParam().change(device);
    EXPECT_EQ(volume_state(device.stub), GetParam().state);
    EXPECT_THAT(device.announced(), ElementsAreArray(GetParam().announced));
}

const char* const kIdle = "volume: 50 | volume: 70 | volume: 40 | ";

INSTANTIATE_TEST_SUITE_P(
    Volume, VolumeChangeTest,
    ::testing::Values(
        VolumeRow{"SetVolume",
                  [](VolumeOnBus& d) { ask(d.stub, &VolumeStub::SetVolume, "volume: 35"); },
                  "volume: 35 | volume: 70 | volume: 40 | ",
                  {"UiVolumeEvent 1 35"}},
        VolumeRow{"StepsUpAndDownInTicksAndStopAtTheEnds",
                  [](VolumeOnBus& d) {
                      ask(d.stub, &VolumeStub::VolumeUp);
                      ask(d.stub, &VolumeStub::VolumeUp, "volume_ticks: 3");
                      ask(d.stub, &VolumeStub::VolumeDown, "volume: 500");
                      ask(d.stub, &VolumeStub::VolumeDown);
                  },
                  " | volume: 70 | volume: 40 | ",
                  {"UiVolumeEvent 1 55", "UiVolumeEvent 1 70", "UiVolumeEvent 1 0"}},
        VolumeRow{"TheSameVolumeAgainIsNoChange",
                  [](VolumeOnBus& d) { ask(d.stub, &VolumeStub::SetVolume, "volume: 50"); },
                  kIdle,
                  {}},
        VolumeRow{"RingerVolume",
                  [](VolumeOnBus& d) { ask(d.stub, &VolumeStub::SetRingerVolume, "volume: 30"); },
                  "volume: 50 | volume: 30 | volume: 40 | ",
                  {"UiVolumeEvent 2 30"}},
        VolumeRow{"UltrasoundVolumeIsKeptUnannounced",
                  [](VolumeOnBus& d) {
                      ask(d.stub, &VolumeStub::SetUltraSoundVolume, "volume_ticks: 2");
                  },
                  "volume: 50 | volume: 70 | volume: 10 | ",
                  {}},
        VolumeRow{"MuteAndToggle",
                  [](VolumeOnBus& d) {
                      ask(d.stub, &VolumeStub::SetAudioMute, "mute_state: true");
                      ask(d.stub, &VolumeStub::SetAudioMute, "mute_state: true");
                      ask(d.stub, &VolumeStub::ToggleAudioMute);
                      ask(d.stub, &VolumeStub::ToggleAudioMute);
                  },
                  "volume: 50 | volume: 70 | volume: 40 | is_mute: true",
                  {"UiMuteEvent 1", "UiMuteEvent 2", "UiMuteEvent 1"}},
        VolumeRow{"AScriptedAnswerOverridesTheBehaviour",
                  [](VolumeOnBus& d) {
                      d.backend.reply("SetVolume", from_text<volumemgr::VolumeStatus>("volume: 7"));
                      EXPECT_EQ(ask(d.stub, &VolumeStub::SetVolume, "volume: 35"), "volume: 7");
                  },
                  kIdle,
                  {}}),
    [](const auto& info) { return info.param.name; });

TEST(VolumeOnTheBus, TheDaemonsSubscriptionReadsTheAnnouncement) {
    VolumeOnBus device;
    auto bus = pubsub::SubscribeService::NewStub(
        grpc::CreateChannel(device.dir.socket_address("bus"), grpc::InsecureChannelCredentials()));
    EXPECT_EQ(ask(*bus, &pubsub::SubscribeService::Stub::Subscribe,
                  "subscriber: 'VantaApi' topics: 'UiVolumeEvent' topics: 'UiMuteEvent'"),
              "success: true");

    ask(device.stub, &VolumeStub::SetVolume, "volume: 35");
    ask(device.stub, &VolumeStub::SetAudioMute, "mute_state: true");

    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + kPatience);
    auto reader = bus->Read(&context, from_text<pubsub::ReadRequest>("subscriber: 'VantaApi'"));
    std::vector<std::string> read;
    pubsub::PubSubMsg message;
    while (read.size() < 2 && reader->Read(&message)) {
        read.push_back(message.ShortDebugString());
    }
    EXPECT_THAT(read, ElementsAre(R"(topic: "UiVolumeEvent" data: "35" event: 1)",
                                  R"(topic: "UiMuteEvent" event: 1)"));
    context.TryCancel();
    reader->Finish();
}

// --- Call control ---------------------------------------------------------

using CallingStub = calling::Calling::Stub;

TEST(CallControl, AStartedMeetingDialsConnectsWithItsRosterAndEndsWhenLeft) {
    Served<CallingBackend> device;
    device.backend.set_connect_delay(std::chrono::seconds(1));
    CallingStub stub(device.channel);
    Subscription<CallingStub, calling::SubscriptionRequest, calling::Event> events(stub, "");
    ASSERT_TRUE(device.backend.wait_for_open_streams(1));
    const std::string dialing =
        "meeting_id: 1 connection_id: 1 vireo_id: \"vireo-1\" meeting_type: kCall "
        "remote_uri: \"sip:robin@example.com\" call_state: DIALING backend: NIMBO "
        "correlation_id: \"simulated-call-1\"";

    EXPECT_EQ(ask(stub, &CallingStub::StartMeeting,
                  "destination: 'sip:robin@example.com' start_method: kUiApp"),
              dialing);
    const std::string first = events.next();
    EXPECT_THAT(first, ::testing::StartsWith("meeting_event { state: DIALING call_id: 1 "
                                             "start_method: kUiApp start_time: "));
    EXPECT_THAT(first, ::testing::EndsWith("remote_name: \"robin\" remote_uri: "
                                           "\"sip:robin@example.com\" call_type: CALL "
                                           "backend: NIMBO disposition: INITIATED }"));
    EXPECT_EQ(ask(stub, &CallingStub::GetAllMeetings), "meetings { " + dialing + " }");

    const auto connected = events.next(4);
    EXPECT_THAT(connected[0], ::testing::StartsWith("meeting_event { state: CONNECTED call_id: 1"));
    const std::string robin =
        "uuid: \"remote-1\" name: \"robin\" type: participantTypeUser "
        "mute_status: muteStatusUnmuted";
    EXPECT_EQ(connected[1],
              "participants { self { uuid: \"self\" name: \"Simulated Room\" "
              "type: participantTypeRoom mute_status: muteStatusUnmuted } others { " +
                  robin + " } meeting_id: 1 total_connected_participants: 2 }");
    EXPECT_EQ(connected[2],
              "conference_info { display_name: \"Call with robin\" "
              "recording_state: recordingStopped call_id: 1 }");
    EXPECT_EQ(connected[3], "active_speakers { speakers { " + robin + " } meeting_id: 1 }");
    EXPECT_THAT(ask(stub, &CallingStub::GetAllMeetings),
                ::testing::HasSubstr("call_state: CONNECTED"));
    EXPECT_EQ(ask(stub, &CallingStub::AnyMeetings), "success: true");

    EXPECT_EQ(ask(stub, &CallingStub::LeaveMeeting, "meeting_id: 1"), "success: true");
    const std::string ended = events.next();
    EXPECT_THAT(ended, ::testing::StartsWith("meeting_event { state: DISCONNECTED call_id: 1"));
    EXPECT_THAT(ended, ::testing::HasSubstr("disposition: ANSWERED"));
    EXPECT_EQ(ask(stub, &CallingStub::GetAllMeetings), "");
    EXPECT_EQ(ask(stub, &CallingStub::LeaveMeeting, "meeting_id: 1"), "");
}

TEST(CallControl, AMeetingLeftWhileDialingNeverConnectsAndAScriptOverridesTheBehaviour) {
    Served<CallingBackend> device;
    // Both calls below are answered well within the delay (under an emulator,
    // only with the time scale applied).
    device.backend.set_connect_delay(vanta::testing::scaled(std::chrono::milliseconds(100)));
    CallingStub stub(device.channel);
    Subscription<CallingStub, calling::SubscriptionRequest, calling::Event> events(stub, "");
    ASSERT_TRUE(device.backend.wait_for_open_streams(1));

    ask(stub, &CallingStub::StartMeeting, "destination: '5551234'");
    EXPECT_EQ(ask(stub, &CallingStub::LeaveAllMeetings), "success: true");
    // Long enough for the first meeting to have connected, had it not ended.
    std::this_thread::sleep_for(vanta::testing::scaled(std::chrono::milliseconds(300)));
    ask(stub, &CallingStub::StartMeeting, "destination: '5559876'");
    const auto seen = events.next(3);
    EXPECT_THAT(seen[0], ::testing::StartsWith("meeting_event { state: DIALING call_id: 1"));
    EXPECT_THAT(seen[1], ::testing::StartsWith("meeting_event { state: DISCONNECTED call_id: 1"));
    EXPECT_THAT(seen[1], ::testing::HasSubstr("disposition: CANCELED"));
    EXPECT_THAT(seen[2], ::testing::StartsWith("meeting_event { state: DIALING call_id: 2"));

    device.backend.answer("StartMeeting", from_text<calling::MeetingInfo>("meeting_id: 9"));
    EXPECT_EQ(ask(stub, &CallingStub::StartMeeting, "destination: '5550000'"), "meeting_id: 9");
    const auto list = from_text<calling::MeetingList>(ask(stub, &CallingStub::GetAllMeetings));
    ASSERT_EQ(list.meetings_size(), 1);
    EXPECT_EQ(list.meetings(0).meeting_id(), 2u);
}

// --- Configuration --------------------------------------------------------

using ConfigStub = configmanager::Configuration::Stub;

struct ConfigRow {
    std::string name;
    std::function<std::string(ConfigStub&)> change;
    std::string answer;
    // The event the change sends, if any.
    std::string event;
    std::function<std::string(ConfigStub&)> read_back;
    std::string kept;
};

void PrintTo(const ConfigRow& row, std::ostream* out) {
    *out << row.name;
}

class ConfigChangeTest : public ::testing::TestWithParam<ConfigRow> {};

TEST_P(ConfigChangeTest, IsAnsweredKeptAndAnnounced) {
    const ConfigRow& row = GetParam();
    Served<ConfigManagerBackend> device;
    ConfigStub stub(device.channel);
    Subscription<ConfigStub, configmanager::SubscriptionRequest, configmanager::Event> events(stub,
                                                                                              "");
    ASSERT_TRUE(device.backend.streams.wait_for_open_streams(1));

    EXPECT_EQ(row.change(stub), row.answer);
    EXPECT_EQ(row.read_back(stub), row.kept);
    // A locale change of the test's own follows whatever the row sent.
    ask(stub, &ConfigStub::SetLocale, "language: 'fi_FI'");
    std::vector<std::string> expected;
    if (!row.event.empty()) {
        expected.push_back("what: " + row.event);
    }
    expected.push_back("what: LOCALE_CHANGED");
    EXPECT_THAT(events.next(expected.size()), ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Configuration, ConfigChangeTest,
    ::testing::Values(
        ConfigRow{"TimeZone",
                  [](ConfigStub& s) {
                      return ask(s, &ConfigStub::SetTimezone,
                                 "timezone: 'America/New_York' date_template: 'MM/dd/yyyy'");
                  },
                  "success: true", "TIMEZONE_CHANGED",
                  [](ConfigStub& s) {
                      return ask(s, &ConfigStub::GetTimezone) + " | " +
                             ask(s, &ConfigStub::GetGeoServiceInfo);
                  },
                  "timezone: \"America/New_York\" date_template: \"MM/dd/yyyy\" | "
                  "timezone: \"America/New_York\" country_code: \"NO\" region_code: \"03\" "
                  "client_address: \"192.0.2.10\""},
        ConfigRow{"TheSameTimeZoneIsNoChange",
                  [](ConfigStub& s) {
                      return ask(s, &ConfigStub::SetTimezone,
                                 "timezone: 'Europe/Oslo' date_template: 'dd.MM.yyyy'");
                  },
                  "success: true", "",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::GetTimezone); },
                  "timezone: \"Europe/Oslo\" date_template: \"dd.MM.yyyy\""},
        ConfigRow{"Locale",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::SetLocale, "language: 'nb_NO'"); },
                  "success: true", "LOCALE_CHANGED",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::GetLocale); },
                  "language: \"nb_NO\""},
        ConfigRow{"AnEmptyLocaleIsRefused",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::SetLocale); }, "", "",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::GetLocale); },
                  "language: \"en_US\""},
        ConfigRow{"RingToneFromTheList",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::SetRingTone, "name: 'Chime'"); },
                  "success: true", "RINGTONE_CHANGED",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::GetRingTone); },
                  "name: \"Chime\""},
        ConfigRow{"ARingToneNotInTheListIsRefused",
                  [](ConfigStub& s) { return ask(s, &ConfigStub::SetRingTone, "name: 'Siren'"); },
                  "", "",
                  [](ConfigStub& s) {
                      return ask(s, &ConfigStub::GetRingTone) + " | " +
                             ask(s, &ConfigStub::GetRingToneList);
                  },
                  "name: \"Classic\" | name: \"Classic\" name: \"Bright\" name: \"Calm\" "
                  "name: \"Chime\" name: \"Pulse\""}),
    [](const auto& info) { return info.param.name; });

// --- The calendar ---------------------------------------------------------

using CalendarStub = calendar::Calendar::Stub;

TEST(Calendar, BooksTodayAroundNowAndPushesTheListWhenABookingIsDismissed) {
    const auto now = std::chrono::system_clock::from_time_t(1'800'000'000);
    Served<CalendarBackend> device(now);
    CalendarStub stub(device.channel);
    Subscription<CalendarStub, calendar::SubscriptionRequest, calendar::CalendarUpdate> updates(
        stub, "subscribe: true");
    ASSERT_TRUE(device.backend.wait_for_opened(1));

    calendar::CalendarEventList all =
        from_text<calendar::CalendarEventList>(ask(stub, &CalendarStub::GetCalendarEvents));
    ASSERT_EQ(all.items_size(), 4);
    EXPECT_EQ(all.owner_name(), "Meeting Room 3");
    EXPECT_EQ(all.items(0).ShortDebugString(),
              "id: \"booking-1\" uri: \"sip:room-meeting-1@meet.example.com\" "
              "subject: \"Weekly design review\" start_time: 1799998200 duration: 60 "
              "organizer { uuid: \"person-1\" name: \"Robin Ek\" } vireo_id: \"vireo-booking-1\" "
              "reminder_type: Scheduled reminder_support_type: Service is_joinable: true "
              "meeting_backend: NIMBO_MEETING");
    EXPECT_EQ(
        ask(stub, &CalendarStub::GetCalendarEvents, "from_time: 1800003600 to_time: 1800007200"),
        "items { " + all.items(1).ShortDebugString() +
            " } owner_name: \"Meeting Room 3\" is_room_bookable: true");

    ask(stub, &CalendarStub::DismissCalendarEvent, "id: 'booking-2'");
    ask(stub, &CalendarStub::DismissCalendarEvent, "id: 'booking-2'");
    ask(stub, &CalendarStub::DismissCalendarEvent, "id: 'no-such-booking'");
    ask(stub, &CalendarStub::DismissCalendarEvents);
    auto dismissed = all;
    dismissed.mutable_items(1)->set_is_dismissed(true);
    dismissed.mutable_items(1)->set_should_alert(false);
    const auto pushed = updates.next(2);
    EXPECT_EQ(pushed[0], "status: SUCCESS list { " + dismissed.ShortDebugString() + " }");
    const auto everything = from_text<calendar::CalendarUpdate>(pushed[1]);
    EXPECT_EQ(everything.list().items_size(), 4);
    for (const auto& item : everything.list().items()) {
        EXPECT_TRUE(item.is_dismissed()) << item.id();
    }
    EXPECT_THAT(ask(stub, &CalendarStub::GetCalendarEvent, "id: 'booking-2'"),
                ::testing::StartsWith("found: true item { id: \"booking-2\""));
    EXPECT_EQ(ask(stub, &CalendarStub::GetCalendarEvent, "id: 'no-such-booking'"), "");
}

// --- The system controller ------------------------------------------------

using SystemStub = systemcontroller::SystemController::Stub;

TEST(SystemController, GoesToStandbyAndWakesUpOnTheUisBusMessages) {
    Served<SystemControllerBackend> device;
    SystemStub stub(device.channel);
    Subscription<SystemStub, systemcontroller::SubscriptionRequest, systemcontroller::Event> events(
        stub, "");
    ASSERT_TRUE(device.backend.streams.wait_for_open_streams(1));
    EXPECT_EQ(ask(stub, &SystemStub::GetState), "state: AWAKE");
    EXPECT_EQ(ask(stub, &SystemStub::GetDeviceState), "device_state: RUNNING");

    device.backend.hear(from_text<pubsub::PubSubMsg>("topic: 'UXStandbyEvent'"));
    EXPECT_EQ(ask(stub, &SystemStub::GetState), "state: STANDBY reason: USER_STANDBY");
    device.backend.hear(from_text<pubsub::PubSubMsg>("topic: 'UXStandbyEvent'"));
    device.backend.hear(from_text<pubsub::PubSubMsg>("topic: 'UiVolumeEvent'"));
    device.backend.hear(from_text<pubsub::PubSubMsg>("topic: 'UXWakeUpEvent' event: 1"));
    EXPECT_EQ(ask(stub, &SystemStub::GetState), "state: AWAKE reason: USER_INTERACTION");
    device.backend.standby(systemcontroller::MEETING);

    EXPECT_THAT(events.next(3),
                ElementsAre("what: SYSTEM_STATE_CHANGED", "what: SYSTEM_STATE_CHANGED",
                            "what: SYSTEM_STATE_CHANGED"));
    EXPECT_EQ(ask(stub, &SystemStub::GetState), "state: STANDBY reason: MEETING");
}

}  // namespace
}  // namespace vanta::sim
