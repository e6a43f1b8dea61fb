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
#include "sim/backend_server.h"
#include "sim/calendar_backend.h"
#include "sim/nimbobranding_backend.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;

// A simulated backend on its temporary socket and a client of it made from
// the device's catalogue row `row`.
template <typename Fake, typename Client>
struct BackendWithClient {
    explicit BackendWithClient(const Endpoint& row)
        : client(executor, endpoint_at(row, address, 1000ms)) {}

    ConsoleCapture console;
    TempDir dir;
    std::string address = dir.socket_address("backend");
    Fake fake;
    sim::BackendServer server{address, {&fake}};
    ManualExecutor executor;
    Client client;
};

using CalendarBackend = BackendWithClient<sim::CalendarBackend, calendar::CalendarClientImpl>;

// The bookings the API lists and the dismissals it forwards are checked
// through it (api/plugins_pass_through_rows.textproto); here the requests it never
// sends.
TEST(CalendarClient, SendsTheWholeBookingsRequestAndAsksForOneBooking) {
    CalendarBackend backend(device_endpoints().calendar);
    calendar::CalendarEventResponse found;
    found.set_found(true);
    found.mutable_item()->set_id("b-1");
    backend.fake.reply("GetCalendarEvent", found);

    calendar::CalendarEventsRequest request;
    request.set_user_uuid("u-7");
    ASSERT_TRUE(backend.client.GetCalendarEvents(request));
    EXPECT_EQ(backend.client.GetCalendarEvent("b-1").SerializeAsString(),
              found.SerializeAsString());
    EXPECT_THAT(backend.fake.calls_with_requests(),
                ElementsAre("GetCalendarEvents(" + request.ShortDebugString() + ")",
                            "GetCalendarEvent(id: \"b-1\")"));
}

TEST(CalendarClient, TheBookingsFailInTheirOwnOlderStyleAndOneBookingRaises) {
    CalendarBackend backend(device_endpoints().calendar);
    backend.fake.fail_with(grpc::StatusCode::UNAVAILABLE, "gone");
    EXPECT_FALSE(backend.client.GetCalendarEvents({}));
    EXPECT_EQ(backend.console.count_exactly(
                  "CalendarClient ERROR: GetCalendarEvents failed: grpc error:gone code: "
                  "UNAVAILABLE"),
              1u);
    EXPECT_THROW(backend.client.GetCalendarEvent("b-1"), ServiceUnavailableError);

    backend.fake.fail_with(grpc::StatusCode::PERMISSION_DENIED);
    try {
        backend.client.GetCalendarEvents({});
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "GetCalendarEvents: unrecoverable grpc error: PERMISSION_DENIED");
    }
}

// Branding: what it tells an observer is in the table of
// observable_clients_test.cc, what the API asks of it in the pass-through
// table, the signage server it never touches in gated_operations_test.cc.

using BrandingBackend = BackendWithClient<sim::NimboBrandingBackend, nimbobranding::ClientImpl>;

TEST(NimboBrandingClient, AnObserverWithoutAReadyCallbackIsToldNothing) {
    BrandingBackend backend(device_endpoints().nimbobranding);
    std::atomic<int> told{0};
    backend.client.SetObserver([&](nimbobranding::EventType) { ++told; }, nullptr, [] {});
    ASSERT_TRUE(backend.fake.wait_for_opened(1));
    backend.fake.publish(from_text<nimbobranding::Event>("what: CAROUSEL_IMAGE_CHANGED"));
    ASSERT_TRUE(wait_until(
        [&] {
            return backend.console.count_exactly(
                       "NimboBrandingClient ERROR: observed_event_handler: Unable to handle "
                       "event, callback is null") == 1;
        },
        5s));
    EXPECT_EQ(told, 0);
}

}  // namespace
}  // namespace vanta::testing
