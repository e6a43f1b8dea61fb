// The calendar plugin in the whole service against a simulated calendar
// service: the booking lists subscribers receive. The listing and dismissal
// operations are in the pass-through table (api/plugins_pass_through_rows.cc).

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

// Both sides number the enumerations alike, so a booking list with known
// values reads the same on both.
const char* const kBookings = R"(
    items { id: 'b-1' uri: 'sip:room@example' subject: 'Review' start_time: 1700000000
            duration: 1800 organizer { uuid: 'u-1' name: 'Ada' } should_alert: true
            vireo_id: 'v-1' reminder_type: Scheduled reminder_support_type: Client
            is_recurring: true is_joinable: true meeting_backend: MICROSOFT_TEAMS_MEETING
            is_dismissed: true }
    items { id: 'b-2' meeting_backend: NIMBO_MEETING }
    owner_name: 'Room 4' is_room_bookable: true)";

calendar::CalendarEventList bookings() {
    calendar::CalendarEventList list;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(kBookings, &list));
    return list;
}

calendar::CalendarUpdate update(calendar::Status status, const calendar::CalendarEventList& list) {
    calendar::CalendarUpdate update;
    update.set_status(status);
    *update.mutable_list() = list;
    return update;
}

TEST(CalendarPlugin, SuccessfulUpdatesArePublishedInOrderAndAFailedOneIsOnlyWarnedAbout) {
    ConsoleCapture console;
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.backends.calendar.wait_for_opened(1));
    calendar::CalendarEventList later;
    // A meeting backend the API does not know is reported as unknown.
    later.add_items()->set_meeting_backend(static_cast<calendar::CalendarEvent::MeetingBackend>(5));
    later.mutable_items(0)->set_id("b-3");

    service.backends.calendar.publish(update(calendar::UNKNOWN, bookings()));
    service.backends.calendar.publish(update(calendar::SUCCESS, bookings()));
    service.backends.calendar.publish(update(calendar::SUCCESS, later));
    const auto published = service.published(2);
    ASSERT_EQ(published.size(), 2u);
    EXPECT_EQ(published[0].new_calendar_state().state(), vantaapi::CalendarState::CALENDAR_EVENT);
    EXPECT_EQ(published[0].new_calendar_state().events().ShortDebugString(),
              bookings().ShortDebugString());
    EXPECT_EQ(published[1].ShortDebugString(),
              "new_calendar_state { state: CALENDAR_EVENT events { items { id: \"b-3\" } } }");
    const auto lines = console.lines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "VantaApi W: received calendar update error: 0"), 1);
}

}  // namespace
}  // namespace vanta::testing
