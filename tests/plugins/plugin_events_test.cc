// What each backend stream's events become on a real Subscribe stream, with
// the whole service and every backend simulated on temporary sockets: the rows
// of backend_events.textproto, one per backend. Every observed stream set up
// again after its backend restarts (the call proxy's by its own rule) is the
// fault suite's (faults/backend_restart_test.cc).

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "backend_event_rows.h"
#include "service_on_backends.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

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
        // The lines with the row's part in them, when it names one.
        const auto logged = row.log_part().empty() ? std::vector<std::string>()
                                                   : console.lines_containing(row.log_part());
        EXPECT_THAT(logged, ElementsAreArray(row.logged()));
    }
}

}  // namespace
}  // namespace vanta::testing
