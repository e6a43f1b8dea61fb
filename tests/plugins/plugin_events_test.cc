// What each backend stream's events become on a real Subscribe stream, with
// the whole service and every backend simulated on temporary sockets: one row
// per backend, its events sent in order and the events subscribers get. Each
// row's events that publish nothing come before one that does, so a wrong
// event shifts the row's answer.

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "sim/switchable_backend.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Waits (bounded) until the backend streams to the service, then sends each
// event, written as text.
template <typename Event, typename Source>
void send(Source& source, const std::vector<std::string>& events) {
    ASSERT_TRUE(source.wait_for_opened(1)) << "the plugin does not observe";
    for (const std::string& text : events) {
        source.publish(*static_cast<const Event*>(parse_text(Event::descriptor(), text).get()));
    }
}

// Both sides number the enumerations alike, so a booking list with known
// values reads the same on both.
const std::string kBookings = R"(
    items { id: 'b-1' uri: 'sip:room@example' subject: 'Review' start_time: 1700000000
            duration: 1800 organizer { uuid: 'u-1' name: 'Ada' } should_alert: true
            vireo_id: 'v-1' reminder_type: Scheduled reminder_support_type: Client
            is_recurring: true is_joinable: true meeting_backend: MICROSOFT_TEAMS_MEETING
            is_dismissed: true }
    items { id: 'b-2' meeting_backend: NIMBO_MEETING }
    owner_name: 'Room 4' is_room_bookable: true)";

// One call-proxy event and what subscribers get: `published` (text of a
// VantaEvent), or nothing and the client's log line `refused` with the
// conversion's text when the event carries a reserved enumeration value.
struct CallProxyEvent {
    CallProxyEvent(std::string backend_event, std::string published_event, std::string refusal = {})
        : backend(std::move(backend_event)),
          published(std::move(published_event)),
          refused(std::move(refusal)) {}

    std::string backend;
    std::string published;
    std::string refused;
};

const std::vector<CallProxyEvent>& call_proxy_events() {
    static const std::vector<CallProxyEvent> rows = {
        // Call state: the unsigned call id lands in a signed one.
        {R"(meeting_event { state: CONNECTED call_id: 4000000000 start_method: kOutgoingCall
             start_time: 1700000000123 remote_name: "Room 4" remote_uri: "sip:r4@example.com"
             call_type: SIP_BRIDGE backend: NIMBO disposition: ANSWERED duration: 60 })",
         R"(new_call_state { state: CONNECTED call_id: -294967296 start_method: kOutgoingCall
             start_time: 1700000000123 remote_name: "Room 4" remote_uri: "sip:r4@example.com"
             call_type: SIP_BRIDGE backend: NIMBO })"},
        {"meeting_event { state: IVR_ENTER_CONFERENCE_ID start_method: kServer "
         "call_type: MS_MEETING backend: KRELL }",
         "new_call_state { state: IVR_ENTER_CONFERENCE_ID start_method: kUnknown "
         "call_type: MS_MEETING backend: KRELL }"},
        {"meeting_event { state: -1 start_method: 12 call_type: LOCAL_SHARE backend: 3 }",
         "new_call_state { state: ERROR start_method: kUnknown call_type: UNKNOWN "
         "backend: UNKNOWN_BACKEND }"},
        {"meeting_event { state: 2147483647 }", "", "Unexpected CallState code"},
        {"meeting_event { start_method: -2147483648 }", "", "Unexpected method"},
        {"meeting_event { call_type: 2147483647 }", "", "Unexpected call type"},
        {"meeting_event { backend: -2147483648 }", "", "Unexpected calling backend"},

        {"call_service_changed {}", "call_service_changed_event { what: LINES_CHANGED }"},
        {"call_security { call_id: -5 mode: NOT_AUTHENTICATED }",
         "new_call_security { call_id: -5 mode: NOT_AUTHENTICATED }"},
        {"call_security { call_id: 1 mode: 9 }", "new_call_security { call_id: 1 mode: 9 }"},
        {"dial_string_changed {}", "last_dial_string_changed {}"},

        {R"(conference_info { display_name: "Weekly" recording_state: recordingPaused
             call_id: 12 })",
         R"(new_conference_info { display_name: "Weekly" recording_state: PAUSED call_id: 12 })"},
        {"conference_info { recording_state: 5 call_id: 2 }",
         "new_conference_info { recording_state: UNKNOWN call_id: 2 }"},
        {"conference_info { recording_state: -2147483648 }", "", "unsupported RecordingState"},

        // Participants: numbers the API does not share become its unknown
        // members, the reserved ones too; `csis` stays behind.
        {R"(participants {
              self { uuid: "u-1" name: "Ann" status: endpointInLobby type: participantTypeRoom
                     associated_device_uuid: "d-1" csis: 3 csis: 4 mute_status: muteStatusMuted
                     moderator: true }
              others { uuid: "u-2" status: endpointDisconnecting type: participantTypeMediaNode
                       mute_status: muteStatusUnmuted }
              others { uuid: "u-3" status: 13 type: 7 mute_status: 5 }
              others { uuid: "u-4" status: -1 type: 2147483647 mute_status: -2147483648 }
              meeting_id: 9 total_connected_participants: 3 })",
         R"(new_participants {
              self { uuid: "u-1" name: "Ann" status: IN_LOBBY type: ROOM_DEVICE
                     associated_device_uuid: "d-1" mute_status: MUTED moderator: true }
              others { uuid: "u-2" status: DISCONNECTING type: MEDIA_NODE mute_status: UNMUTED }
              others { uuid: "u-3" status: STATUS_UNKNOWN type: TYPE_UNKNOWN
                       mute_status: UNKNOWN_MUTE_STATUS }
              others { uuid: "u-4" status: STATUS_UNKNOWN type: TYPE_UNKNOWN
                       mute_status: UNKNOWN_MUTE_STATUS }
              meeting_id: 9 total_connected_participants: 3 })"},
        {"participants { meeting_id: 2 }",
         "new_participants { self { status: CONNECTED } meeting_id: 2 }"},

        {R"(meeting_reminder { subject: "Review" organizer { uuid: "o-1" name: "Bo" }
             start_time: 1700000000 duration: 1800 type: meetingReminderTypeScheduled
             call_id: 21 })",
         R"(new_meeting_reminder_info { subject: "Review" organizer { uuid: "o-1" name: "Bo" }
             start_time: 1700000000 duration: 1800 type: SCHEDULED call_id: 21 })"},
        {"meeting_reminder { type: 3 call_id: 4 }",
         "new_meeting_reminder_info { organizer {} type: UNKNOWN call_id: 4 }"},
        {"meeting_reminder { type: 2147483647 }", "", "unsupported MeetingType"},

        {R"(active_speakers { speakers { uuid: "s-1" status: endpointObserver
                                          type: participantTypeUser }
                              speakers { uuid: "s-2" type: 9 } meeting_id: 5 })",
         R"(new_active_speakers { speakers { uuid: "s-1" status: OBSERVER type: USER_DEVICE }
                                  speakers { uuid: "s-2" type: TYPE_UNKNOWN } meeting_id: 5 })"},
        {R"(sharing_participant { uuid: "p-7" meeting_id: 8 })",
         R"(new_sharing_participant { uuid: "p-7" meeting_id: 8 })"},
        {R"(video_csi_change { uuid: "a" uuid: "b" uuid: "c" meeting_id: -3 virtual_id: 11 })",
         R"(video_csi_change { uuid: "a" uuid: "b" uuid: "c" meeting_id: -3 virtual_id: 11 })"},

        // Media status: only availability and muting keep their number.
        {R"(media_status_event { uuid: "m-1" meeting_id: 6 virtual_id: 2 type: CONTENT_AUDIO
                                 media_status: MEDIA_MUTED })",
         R"(media_status_event { uuid: "m-1" meeting_id: 6 virtual_id: 2 type: CONTENT_AUDIO
                                 media_status: MEDIA_MUTED })"},
        {"media_status_event { meeting_id: 1 type: SCREENSHARE media_status: MEDIA_AVAILABLE }",
         "media_status_event { meeting_id: 1 type: SCREENSHARE media_status: MEDIA_AVAILABLE }"},
        {"media_status_event { meeting_id: 2 type: 5 media_status: MEDIA_UNAVAILABLE }",
         "media_status_event { meeting_id: 2 type: MEDIA_UNKNOWN "
         "media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { meeting_id: 3 media_status: 3 }",
         "media_status_event { meeting_id: 3 media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { meeting_id: 4 media_status: -2 }",
         "media_status_event { meeting_id: 4 media_status: MEDIA_UNAVAILABLE }"},
        {"media_status_event { type: -2147483648 }", "", "Unexpected media type in to_media_type"},

        {"media_ready_event { meeting_id: 3 type: VIDEO direction: SENDRECV }",
         "media_ready_event { meeting_id: 3 type: VIDEO direction: SENDRECV }"},
        {"media_ready_event { meeting_id: 4 type: 6 direction: 5 }",
         "media_ready_event { meeting_id: 4 type: MEDIA_UNKNOWN direction: DIRECTION_UNKNOWN }"},
        {"media_ready_event { type: 2147483647 }", "", "Unexpected media type in to_media_type"},
        {"media_ready_event { direction: 2147483647 }", "",
         "Unexpected media direction in to_media_direction"},

        {"floor_availability { call_id: 17 floor_available: true }",
         "new_floor_availability { call_id: 17 floor_available: true }"},

        // The client keeps stream_ready to itself; an event without a case
        // says nothing.
        {"stream_ready {}", ""},
        {"", ""},
    };
    return rows;
}

// What subscribers get of the call proxy's events, in order.
std::vector<std::string> call_proxy_published() {
    std::vector<std::string> published;
    for (const CallProxyEvent& event : call_proxy_events()) {
        if (!event.published.empty()) {
            published.push_back(event.published);
        }
    }
    return published;
}

struct EventRow {
    std::string plugin;
    std::function<void(DeviceBackends&)> send;
    // The VantaEvents that subscribers get, in order.
    std::vector<std::string> published;
};

const std::vector<EventRow>& event_rows() {
    static const std::vector<EventRow> rows = {
        {"NimboBrandingPlugin",
         [](DeviceBackends& b) {
             send<nimbobranding::Event>(b.nimbobranding, {"what: SIGNAGE_STARTED"});
         },
         {"branding_event { what: SIGNAGE_STARTED }"}},
        {"AvatarPlugin",
         [](DeviceBackends& b) {
             send<avatar::Event>(b.avatar.streams,
                                 {"avatar_info { success: true uuid: 'u1' size: 64 path: "
                                  "'/a/u1.png' expiration: 1700000000 }"});
         },
         {"new_avatar_info_event { success: true uuid: 'u1' size: 64 path: '/a/u1.png' "
          "expiration: 1700000000 }"}},
        {"NimboStatusReporterPlugin",
         [](DeviceBackends& b) {
             send<nimbostatusreporter::Event>(b.nimbostatusreporter.streams,
                                              {"what: PHONEBOOK_CHANGED"});
         },
         {"nimbo_status_reporter_event { what: PHONEBOOK_CHANGED }"}},
        {"ShareGovernorPlugin",
         [](DeviceBackends& b) {
             send<sharegovernor::Event>(b.sharegovernor.events, {"active_shares_changed { }"});
         },
         {"share_governor_event { active_shares_changed { } }"}},
        {"NfcPlugin",
         [](DeviceBackends& b) {
             send<nfc::Event>(b.nfc, {"card_state_changed { state: CARD_INSERTED }"});
         },
         {"card_state_changed { state: CARD_INSERTED }"}},
        // Setting changes without their values; a ring tone change is not
        // published.
        {"ConfigurationPlugin",
         [](DeviceBackends& b) {
             send<configmanager::Event>(
                 b.configmanager.streams,
                 {"what: RINGTONE_CHANGED", "what: TIMEZONE_CHANGED", "what: UNKNOWN_CHANGE",
                  "what: LOCALE_CHANGED", "what: 9", "what: GEO_SERVICE_INFO_CHANGED",
                  "what: GUI_SETTINGS_ENABLED_CHANGED"});
         },
         {"config_manager_event { what: TIMEZONE_CHANGED }",
          "config_manager_event { what: LANGUAGE_CHANGED }",
          "config_manager_event { what: GEO_SERVICE_INFO_CHANGED }",
          "config_manager_event { what: GUI_SETTINGS_ENABLED_CHANGED }"}},
        // Every change, an unknown one as unknown.
        {"SystemControllerPlugin",
         [](DeviceBackends& b) {
             send<systemcontroller::Event>(
                 b.systemcontroller.streams,
                 {"what: SYSTEM_STATE_CHANGED", "what: DEVICE_STATE_CHANGED", "what: 7"});
         },
         {"system_event { what: SYSTEM_STATE }", "system_event { what: DEVICE_STATE }",
          "system_event { }"}},
        // State and details changes; the other events are not published.
        {"AccountManagerPlugin",
         [](DeviceBackends& b) {
             send<accountmanager::Event>(
                 b.accountmanager.events,
                 {"what: BOOTSTRAP_STATE_CHANGED account_id { id: 'b0' }",
                  "what: ACCOUNT_REGISTRATION_CHANGED account_id { id: 'a1' }",
                  "what: UNKNOWN_CHANGE account_id { id: 'u0' }",
                  "what: STREAM_STARTED account_id { id: 's0' }",
                  "what: ACCOUNT_ACTIVATION_CHANGED account_id { id: 'a2' }",
                  "what: 9 account_id { id: 'n9' }",
                  "what: ACCOUNT_DETAILS_CHANGED account_id { id: 'a3' }"});
         },
         {"account_event { what: ACCOUNT_STATE account_id { id: 'a1' } }",
          "account_event { what: ACCOUNT_STATE account_id { id: 'a2' } }",
          "account_event { what: ACCOUNT_DETAILS account_id { id: 'a3' } }"}},
        // Successful updates; a failed one is only warned about, and a
        // meeting backend the API does not know is reported as unknown.
        {"CalendarPlugin",
         [](DeviceBackends& b) {
             send<calendar::CalendarUpdate>(
                 b.calendar, {"status: UNKNOWN list { " + kBookings + " }",
                              "status: SUCCESS list { " + kBookings + " }",
                              "status: SUCCESS list { items { id: 'b-3' meeting_backend: 5 } }"});
         },
         {"new_calendar_state { state: CALENDAR_EVENT events { " + kBookings + " } }",
          "new_calendar_state { state: CALENDAR_EVENT events { items { id: 'b-3' } } }"}},
        // Meetings: nothing for a reserved enumeration value, which the
        // client logs, nor for an event without a case.
        {"MeetingPlugin",
         [](DeviceBackends& b) {
             std::vector<std::string> events;
             for (const CallProxyEvent& event : call_proxy_events()) {
                 events.push_back(event.backend);
             }
             send<calling::Event>(b.calling, events);
         },
         call_proxy_published()},
    };
    return rows;
}

std::vector<std::string> lines_containing(const ConsoleCapture& console, const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : console.lines()) {
        if (line.find(part) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

TEST(PluginEvents, EachBackendsEventsReachSubscribersInOrder) {
    ConsoleCapture console;
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    size_t seen = 1;
    for (const EventRow& row : event_rows()) {
        SCOPED_TRACE(row.plugin);
        std::vector<std::string> expected;
        for (const std::string& text : row.published) {
            expected.push_back(
                parse_text(vantaapi::VantaEvent::descriptor(), text)->ShortDebugString());
        }
        row.send(service.backends);
        const auto events = service.events.wait_for(seen + expected.size());
        std::vector<std::string> received;
        for (size_t i = seen; i < events.size(); ++i) {
            received.push_back(events[i].ShortDebugString());
        }
        EXPECT_THAT(received, ElementsAreArray(expected));
        seen = events.size();
    }
    EXPECT_THAT(lines_containing(console, "Plugin ConfigManagerEvent"),
                ElementsAre("VantaApi I: Plugin ConfigManagerEvent RingTone Changed",
                            "VantaApi I: Plugin ConfigManagerEvent Timezone Changed",
                            "VantaApi I: Plugin ConfigManagerEvent Locale Changed",
                            "VantaApi I: Plugin ConfigManagerEvent GeoServiceInfo Changed",
                            "VantaApi I: Plugin ConfigManagerEvent GuiSettingsEnabled Changed"));
    EXPECT_THAT(lines_containing(console, "calendar update error"),
                ElementsAre("VantaApi W: received calendar update error: 0"));
    std::vector<std::string> refused;
    for (const CallProxyEvent& event : call_proxy_events()) {
        if (!event.refused.empty()) {
            refused.push_back("CallProxyClient ERROR: observed_event_handler: " + event.refused);
        }
    }
    EXPECT_THAT(lines_containing(console, "CallProxyClient ERROR: observed_event_handler"),
                ElementsAreArray(refused));
}

// A backend restarted under its observing plugin: the call proxy's client sets
// its stream up again once, by itself, and events flow on to the subscribers.
TEST(PluginEvents, ResumeAfterTheObservedBackendRestarts) {
    ConsoleCapture console;
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    sim::CallingBackend call_proxy;
    sim::SwitchableBackend server("callproxy", endpoints.callproxy.address, call_proxy);
    ASSERT_EQ(server.start(), sim::SwitchableBackend::State::running);
    sim::BusBroker broker{{endpoints.pubservice.address, endpoints.subservice.address}};
    ApiHarness api{dir.socket_address("vantaapi_service"), endpoints};
    auto stub = api.client();
    EventStream events{*stub};
    ASSERT_EQ(events.wait_for(1).size(), 1u);
    ASSERT_TRUE(call_proxy.wait_for_open_streams(1));
    const auto floor = [](int call_id) {
        calling::Event event;
        event.mutable_floor_availability()->set_call_id(call_id);
        return event;
    };
    call_proxy.publish(floor(1));
    ASSERT_EQ(events.wait_for(2).size(), 2u);

    server.stop();
    ASSERT_EQ(server.start(), sim::SwitchableBackend::State::running);
    ASSERT_TRUE(call_proxy.wait_for_opened(2, std::chrono::seconds(15)));
    ASSERT_TRUE(call_proxy.wait_for_open_streams(1));
    call_proxy.publish(floor(2));

    const auto received = events.wait_for(3);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1].new_floor_availability().call_id(), 1);
    EXPECT_EQ(received[2].new_floor_availability().call_id(), 2);
    ASSERT_TRUE(wait_until(
        [&] { return !lines_containing(console, "CallProxyClient I: Stream reconnect").empty(); },
        std::chrono::seconds(5)));
    EXPECT_THAT(lines_containing(console, "reconnect"),
                ElementsAre(::testing::StartsWith(
                    "CallProxyClient I: Stream reconnect succeeded with channel_state=")));
}

}  // namespace
}  // namespace vanta::testing
