// The calendar plugin in the whole service against a simulated calendar
// service: the booking lists subscribers receive, and the listing and
// dismissal operations.

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "service_on_backend.h"
#include "sim/calendar_backend.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using Calendar = ServiceOnBackend<sim::CalendarBackend>;

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
    Calendar service(&EndpointCatalogue::calendar);
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.backend.wait_for_opened(1));
    calendar::CalendarEventList later;
    // A meeting backend the API does not know is reported as unknown.
    later.add_items()->set_meeting_backend(static_cast<calendar::CalendarEvent::MeetingBackend>(5));
    later.mutable_items(0)->set_id("b-3");

    service.backend.publish(update(calendar::UNKNOWN, bookings()));
    service.backend.publish(update(calendar::SUCCESS, bookings()));
    service.backend.publish(update(calendar::SUCCESS, later));
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

// A failure of the calendar service answers as the no-backend table shows
// (api/service_failure_rows.cc).
TEST(CalendarPlugin, ListsWithADefaultRequestAndDismissesThroughTheService) {
    Calendar service(&EndpointCatalogue::calendar);
    service.backend.reply("GetCalendarEvents", bookings());
    // The API's interval is not the service's business.
    const ApiAnswer listed = service.call("GetCalendarEvents", "interval: 60");
    ASSERT_TRUE(listed.status.ok()) << listed.status.error_message();
    EXPECT_EQ(listed.response, bookings().ShortDebugString());
    EXPECT_TRUE(service.call("DismissCalendarEvent", "id: 'b-2'").status.ok());
    EXPECT_TRUE(service.call("DismissCalendarEvents").status.ok());
    EXPECT_THAT(service.backend.calls_with_requests(),
                ElementsAre("GetCalendarEvents()", "DismissCalendarEvent(id: \"b-2\")",
                            "DismissCalendarEvents()"));
}

}  // namespace
}  // namespace vanta::testing
