// What each backend stream's events become on a real Subscribe stream, with
// the whole service and every backend simulated on temporary sockets: one row
// per backend, its events sent in order and the events subscribers get. Each
// row's events that publish nothing come before one that does, so a wrong
// event shifts the row's answer. The call proxy's events have their own table
// (meeting_plugin_test.cc).

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/console_capture.h"

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
}

}  // namespace
}  // namespace vanta::testing
