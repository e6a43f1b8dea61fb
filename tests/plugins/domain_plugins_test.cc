// The plugins that serve one backend each (branding, avatars, cloud status,
// shares, NFC) in the whole service, their backends simulated on temporary
// sockets: what each backend stream's event becomes on a real Subscribe
// stream. What their operations send and answer is in the pass-through table
// (api/plugins_pass_through_rows.cc).

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

// Waits (bounded) until the backend streams to the service, then sends
// `event`, written as text.
template <typename Event, typename Request>
void stream(sim::EventStreams<Event, Request>& streams, const std::string& event) {
    ASSERT_TRUE(streams.wait_for_open_streams(1)) << "the plugin does not observe";
    streams.publish(*static_cast<const Event*>(parse_text(Event::descriptor(), event).get()));
}

struct EventRow {
    std::string plugin;
    std::function<void(DeviceBackends&)> send;
    // The VantaEvent that subscribers get.
    std::string published;
};

const std::vector<EventRow>& event_rows() {
    static const std::vector<EventRow> rows = {
        {"NimboBrandingPlugin",
         [](DeviceBackends& b) { stream(b.nimbobranding, "what: SIGNAGE_STARTED"); },
         "branding_event { what: SIGNAGE_STARTED }"},
        {"AvatarPlugin",
         [](DeviceBackends& b) {
             stream(b.avatar.streams,
                    "avatar_info { success: true uuid: 'u1' size: 64 path: '/a/u1.png' "
                    "expiration: 1700000000 }");
         },
         "new_avatar_info_event { success: true uuid: 'u1' size: 64 path: '/a/u1.png' "
         "expiration: 1700000000 }"},
        {"NimboStatusReporterPlugin",
         [](DeviceBackends& b) {
             stream(b.nimbostatusreporter.streams, "what: PHONEBOOK_CHANGED");
         },
         "nimbo_status_reporter_event { what: PHONEBOOK_CHANGED }"},
        {"ShareGovernorPlugin",
         [](DeviceBackends& b) { stream(b.sharegovernor.events, "active_shares_changed { }"); },
         "share_governor_event { active_shares_changed { } }"},
        {"NfcPlugin",
         [](DeviceBackends& b) { stream(b.nfc, "card_state_changed { state: CARD_INSERTED }"); },
         "card_state_changed { state: CARD_INSERTED }"},
    };
    return rows;
}

std::vector<std::string> as_text(const std::vector<vantaapi::VantaEvent>& events) {
    std::vector<std::string> texts;
    for (const vantaapi::VantaEvent& event : events) {
        texts.push_back(event.ShortDebugString());
    }
    return texts;
}

TEST(DomainPlugins, EachBackendEventReachesSubscribers) {
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    for (const EventRow& row : event_rows()) {
        SCOPED_TRACE(row.plugin);
        row.send(service.backends);
        const std::string expected =
            parse_text(vantaapi::VantaEvent::descriptor(), row.published)->ShortDebugString();
        std::vector<std::string> received;
        const bool arrived = wait_until(
            [&] {
                received = as_text(service.events.wait_for(0, std::chrono::milliseconds(0)));
                return std::find(received.begin(), received.end(), expected) != received.end();
            },
            std::chrono::seconds(5));
        EXPECT_TRUE(arrived) << expected << " not among " << ::testing::PrintToString(received);
    }
}

}  // namespace
}  // namespace vanta::testing
