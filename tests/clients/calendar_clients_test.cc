// The calendar, branding and NFC clients against fake backends on temporary sockets: what each
// sends, what it makes of the answer and how it fails. Their event streams are in the table of
// observable_clients_test.cc.

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/calendar/calendar_client_impl.h"
#include "clients/nimbobranding/nimbobranding_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"
#include "served_backend.h"
#include "sim/calendar_backend.h"
#include "sim/nimbobranding_backend.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

// A simulated backend on its temporary socket and a client of it made from
// the device's catalogue row `row`.
template <typename Fake, typename Client>
struct BackendWithClient : Served<Fake> {
    explicit BackendWithClient(const Endpoint& row) : Served<Fake>(row, 1000ms) {}

    ConsoleCapture console;
    ManualExecutor executor;
    Client client{executor, this->endpoint};
};

// The bookings the API lists and the dismissals it forwards are checked
// through it (api/plugins_pass_through_rows.textproto); here the requests it never
// sends, and how the two failing styles differ: the bookings fail in their own
// older style, one booking raises.
TEST(CalendarClient, SendsTheWholeBookingsRequestAsksForOneBookingAndFailsInBothStyles) {
    BackendWithClient<sim::CalendarBackend, calendar::CalendarClientImpl> calendar(
        device_endpoints().calendar);
    const auto found = from_text<calendar::CalendarEventResponse>("found: true item { id: 'b-1' }");
    calendar.backend.reply("GetCalendarEvent", found);
    const auto request = from_text<calendar::CalendarEventsRequest>("user_uuid: 'u-7'");
    EXPECT_TRUE(calendar.client.GetCalendarEvents(request));
    EXPECT_EQ(calendar.client.GetCalendarEvent("b-1").SerializeAsString(),
              found.SerializeAsString());
    EXPECT_THAT(calendar.backend.calls_with_requests(),
                ElementsAre("GetCalendarEvents(" + request.ShortDebugString() + ")",
                            "GetCalendarEvent(id: \"b-1\")"));

    calendar.backend.fail_with(grpc::StatusCode::UNAVAILABLE, "gone");
    EXPECT_FALSE(calendar.client.GetCalendarEvents({}));
    EXPECT_EQ(calendar.console.count_exactly(
                  "CalendarClient ERROR: GetCalendarEvents failed: grpc error:gone code: "
                  "UNAVAILABLE"),
              1u);
    EXPECT_THROW(calendar.client.GetCalendarEvent("b-1"), ServiceUnavailableError);

    calendar.backend.fail_with(grpc::StatusCode::PERMISSION_DENIED);
    EXPECT_THAT([&] { calendar.client.GetCalendarEvents({}); },
                ::testing::ThrowsMessage<std::runtime_error>(
                    "GetCalendarEvents: unrecoverable grpc error: PERMISSION_DENIED"));
}

// Branding: what it tells an observer is in the table of
// observable_clients_test.cc, what the API asks of it in the pass-through
// table, the signage server it never touches in gated_operations_test.cc.

using BrandingBackend = BackendWithClient<sim::NimboBrandingBackend, nimbobranding::ClientImpl>;

TEST(NimboBrandingClient, AnObserverWithoutAReadyCallbackIsToldNothing) {
    BrandingBackend branding(device_endpoints().nimbobranding);
    std::atomic<int> told{0};
    branding.client.SetObserver([&](nimbobranding::EventType) { ++told; }, nullptr, [] {});
    ASSERT_TRUE(branding.backend.wait_for_opened(1));
    branding.backend.publish(from_text<nimbobranding::Event>("what: CAROUSEL_IMAGE_CHANGED"));
    ASSERT_TRUE(wait_until(
        [&] {
            return branding.console.count_exactly(
                       "NimboBrandingClient ERROR: observed_event_handler: Unable to handle "
                       "event, callback is null") == 1;
        },
        5s));
    EXPECT_EQ(told, 0);
}

}  // namespace
}  // namespace vanta::testing
