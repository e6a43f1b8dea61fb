// Neighbours that restart under the running daemon: every backend whose
// event stream it observes, twenty times over, and the bus broker under a
// steady flow of bus events.

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fault_device.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

// How many events of each observed backend's marker case `events` holds,
// in the order of the backends.
std::vector<int> markers_in(const std::vector<vantaapi::VantaEvent>& events,
                            const std::vector<ObservedBackend>& observed) {
    std::map<vantaapi::VantaEvent::DataCase, int> counts;
    for (const auto& event : events) {
        ++counts[event.data_case()];
    }
    std::vector<int> markers;
    for (const ObservedBackend& backend : observed) {
        markers.push_back(counts[backend.published_case]);
    }
    return markers;
}

// The client names of the "<Client> I: reconnect_stream" lines, each with
// its count.
std::map<std::string, int> reconnections_by_client(const DaemonLog& log, pid_t daemon) {
    std::map<std::string, int> counts;
    for (const auto& line : log.lines(daemon, " I: reconnect_stream")) {
        ++counts[line.text.substr(0, line.text.find(' '))];
    }
    return counts;
}

TEST(BackendRestarts, EachObservedStreamReconnectsOncePerRestartWithoutGrowth) {
    constexpr int kCycles = 20;
    FaultDevice device;
    ASSERT_TRUE(device.started());
    EventStream events(*device.api);
    ASSERT_EQ(events.wait_for(1).size(), 1u);
    const pid_t daemon = device.daemon().pid();

    std::vector<Footprint> footprints;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        SCOPED_TRACE("restart " + std::to_string(cycle));
        // All at once: each waits half a second for its open stream.
        std::vector<std::thread> stopping;
        for (ObservedBackend& backend : device.observed) {
            stopping.emplace_back([&backend] { backend.server->stop(); });
        }
        for (std::thread& thread : stopping) {
            thread.join();
        }
        for (ObservedBackend& backend : device.observed) {
            ASSERT_EQ(backend.server->start(), sim::SwitchableBackend::State::running);
        }
        for (const ObservedBackend& backend : device.observed) {
            ASSERT_TRUE(backend.wait_for_opened(cycle + 1, 15s))
                << backend.server->name() << " was not subscribed to again";
        }
        const size_t before = events.wait_for(0, 0ms).size();
        for (const ObservedBackend& backend : device.observed) {
            backend.send_marker();
        }
        const auto arrived = events_from(events, before, [&](const auto& since) {
            const auto markers = markers_in(since, device.observed);
            return std::count(markers.begin(), markers.end(), 0) == 0;
        });
        // A stream opened twice would deliver its marker twice.
        ASSERT_EQ(markers_in(arrived, device.observed),
                  std::vector<int>(device.observed.size(), 1));
        footprints.push_back(footprint_of(daemon));
    }

    // One reconnection per stream end: the call proxy's client says so once
    // its work item has run, every other client once its stream has ended.
    ASSERT_TRUE(wait_until(
        [&] {
            return device.log().count(daemon, "Stream reconnect succeeded") >= kCycles &&
                   reconnections_by_client(device.log(), daemon).size() >=
                       device.observed.size() - 1;
        },
        10s));
    for (const auto& [client, count] : reconnections_by_client(device.log(), daemon)) {
        EXPECT_EQ(count, kCycles) << client;
    }
    EXPECT_EQ(reconnections_by_client(device.log(), daemon).size(), device.observed.size() - 1);
    EXPECT_EQ(device.log().count(daemon, "CallProxyClient I: Stream reconnect succeeded"),
              static_cast<size_t>(kCycles));
    EXPECT_EQ(device.log().count(daemon, "Stream reconnect failed"), 0u);
    EXPECT_EQ(device.log().dropped(), 0u);

    // The first cycles set the level (gRPC's pools find their size); a thread
    // or a descriptor kept per stream end would add ten per cycle.
    const auto level = [&](size_t Footprint::*held) {
        return std::max({footprints[0].*held, footprints[1].*held, footprints[2].*held});
    };
    EXPECT_LE(footprints.back().threads, level(&Footprint::threads) + 2);
    EXPECT_LE(footprints.back().descriptors, level(&Footprint::descriptors) + 2);
}

TEST(BusBrokerRestarts, EveryTopicIsSubscribedAgainInOrderAndEventsReachEverySubscriber) {
    constexpr int kRestarts = 3;
    FaultDevice device;
    ASSERT_TRUE(device.started());
    const auto initial = device.broker().subscribe_calls();
    ASSERT_EQ(initial.size(), 1u);
    ASSERT_EQ(initial[0].subscriber, "VantaApi");
    ASSERT_GT(initial[0].topics.size(), 30u);

    const auto subscribers = device.subscribed(3);
    // Every subscriber has everything up to what was published by now.
    const auto caught_up = [&](int number) {
        const auto reached = [number](const std::vector<vantaapi::VantaEvent>& events) {
            const auto numbers = numbers_in(events);
            return !numbers.empty() && numbers.back() >= number;
        };
        return std::all_of(subscribers.begin(), subscribers.end(), [&](const auto& subscriber) {
            return reached(events_from(*subscriber, 0, reached));
        });
    };

    BusTicker ticker(device);
    // Numbers that must arrive: from the first event after each
    // resubscription up to the last event before the next stop.
    std::vector<std::pair<int, int>> complete;
    int first = 1;
    for (int restart = 1; restart <= kRestarts + 1; ++restart) {
        const int last = ticker.next + 20;
        ASSERT_TRUE(caught_up(last)) << "events stopped after restart " << restart - 1;
        complete.emplace_back(first, last);
        if (restart > kRestarts) {
            break;
        }
        device.stop_broker();
        std::this_thread::sleep_for(300ms);
        device.start_broker();
        ASSERT_TRUE(device.broker().wait_for_subscribe_calls(1, 15s));
        first = ticker.next + 1;
        const auto again = device.broker().subscribe_calls();
        ASSERT_EQ(again.size(), 1u);
        EXPECT_EQ(again[0].subscriber, "VantaApi");
        EXPECT_EQ(again[0].topics, initial[0].topics);
        EXPECT_TRUE(again[0].accepted);
    }

    for (size_t i = 0; i < subscribers.size(); ++i) {
        SCOPED_TRACE("subscriber " + std::to_string(i));
        const auto numbers = numbers_in(subscribers[i]->wait_for(0, 0ms));
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()) &&
                    std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end())
            << "out of publication order";
        const std::set<int> seen(numbers.begin(), numbers.end());
        for (const auto& [from, to] : complete) {
            for (int number = from; number <= to; ++number) {
                ASSERT_TRUE(seen.count(number)) << "event " << number << " lost";
            }
        }
    }
    EXPECT_GE(device.log().count(device.daemon().pid(), "Restarting Subscriber"),
              static_cast<size_t>(kRestarts));
}

}  // namespace
}  // namespace vanta::testing
