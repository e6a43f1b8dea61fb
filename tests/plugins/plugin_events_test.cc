// What each backend stream's events become on a real Subscribe stream, with
// the whole service and every backend simulated on temporary sockets: the rows
// of backend_events.textproto, one per backend; and the call proxy's stream
// set up again after a restart.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "backend_event_rows.h"
#include "service_on_backends.h"
#include "sim/switchable_backend.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Sender = std::function<void(const BackendEvents&)>;

// Sends a row's events, written as text, once the backend streams to the
// service.
template <typename Event, typename Source>
Sender sender(Source& source) {
    return [&source](const BackendEvents& row) {
        ASSERT_TRUE(source.wait_for_opened(1)) << "the plugin does not observe";
        for (const std::string& text : row.sent()) {
            source.publish(from_text<Event>(text));
        }
    };
}

// Every observed backend's stream, by the name of its row.
std::vector<std::pair<std::string, Sender>> senders(DeviceBackends& b) {
    return {
        {"nimbobranding", sender<nimbobranding::Event>(b.nimbobranding)},
        {"avatar", sender<avatar::Event>(b.avatar.streams)},
        {"nimbostatusreporter", sender<nimbostatusreporter::Event>(b.nimbostatusreporter.streams)},
        {"sharegovernor", sender<sharegovernor::Event>(b.sharegovernor.events)},
        {"nfc", sender<nfc::Event>(b.nfc)},
        {"configmanager", sender<configmanager::Event>(b.configmanager.streams)},
        {"systemcontroller", sender<systemcontroller::Event>(b.systemcontroller.streams)},
        {"accountmanager", sender<accountmanager::Event>(b.accountmanager.events)},
        {"calendar", sender<calendar::CalendarUpdate>(b.calendar)},
        {"calling", sender<calling::Event>(b.calling)},
    };
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
    for (const auto& [backend, send] : senders(service.backends)) {
        SCOPED_TRACE(backend);
        const BackendEvents row = backend_event_row(backend);
        send(row);
        const auto events = service.events.wait_for(seen + row.published_size());
        expect_published(row, {events.begin() + seen, events.end()});
        seen = events.size();
        if (!row.log_part().empty()) {
            EXPECT_THAT(lines_containing(console, row.log_part()), ElementsAreArray(row.logged()));
        }
    }
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
    call_proxy.publish(from_text<calling::Event>("floor_availability { call_id: 1 }"));
    ASSERT_EQ(events.wait_for(2).size(), 2u);

    server.stop();
    ASSERT_EQ(server.start(), sim::SwitchableBackend::State::running);
    ASSERT_TRUE(call_proxy.wait_for_opened(2, std::chrono::seconds(15)));
    ASSERT_TRUE(call_proxy.wait_for_open_streams(1));
    call_proxy.publish(from_text<calling::Event>("floor_availability { call_id: 2 }"));

    const auto received = events.wait_for(3);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1].new_floor_availability().call_id(), 1);
    EXPECT_EQ(received[2].new_floor_availability().call_id(), 2);
    ASSERT_TRUE(wait_until([&] { return console.count("CallProxyClient I: Stream reconnect") > 0; },
                           std::chrono::seconds(5)));
    EXPECT_THAT(lines_containing(console, "reconnect"),
                ElementsAre(::testing::StartsWith(
                    "CallProxyClient I: Stream reconnect succeeded with channel_state=")));
}

}  // namespace
}  // namespace vanta::testing
