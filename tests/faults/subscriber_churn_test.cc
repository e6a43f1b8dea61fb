// Subscribers that misbehave while bus events flow: two hundred that come
// and go every way a client can leave, and one that stops reading.

#include <signal.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "fault_device.h"
#include "support/wait_until.h"

namespace vanta::testing {

// A sanitizer keeps memory of its own (AddressSanitizer's quarantine of freed
// memory, ThreadSanitizer's shadow of what was touched): in a sanitized build
// the daemon's memory does not return to its idle level.
#if defined(VANTA_SANITIZED)
constexpr bool kSanitizerHoldsFreedMemory = true;
#else
constexpr bool kSanitizerHoldsFreedMemory = false;
#endif
namespace {

// gRPC's server keeps a few idle threads beyond those it needs; one per
// Subscribe call left behind would add hundreds here.
constexpr size_t kThreadSlack = 2;
// Resident memory may stay above the idle level by what the allocator keeps
// in its per-thread arenas and gRPC in its caches after a burst (under 1 MiB
// measured); 4 MiB is about the events of a second of this flow kept for
// every one of the two hundred streams.
constexpr size_t kRssToleranceKib = 4 * 1024;

enum class Leave { cancel, half_close, unsubscribe };
const char* const kLeaveNames[] = {"cancel", "half-close", "unsubscribe"};

// What one subscriber saw: the numbers of the bus events in arrival order,
// and how its call ended.
struct Visit {
    Leave leave = Leave::cancel;
    std::vector<int> numbers;
    bool reached_target = false;
    grpc::Status status;
};

// Reads the numbers of the numbered events of `stream` into `numbers` until
// it holds `count` or the stream ended.
template <typename Stream>
void read_numbers(Stream& stream, size_t count, std::vector<int>& numbers) {
    vantaapi::VantaEvent event;
    while (numbers.size() < count && stream.Read(&event)) {
        if (const int number = number_of(event); number >= 0) {
            numbers.push_back(number);
        }
    }
}

// Subscribes on a channel of its own, reads `wanted` numbered events, then
// leaves as `leave` says and reads what still comes until the call ends.
Visit visit(Leave leave, size_t wanted) {
    Visit result;
    result.leave = leave;
    auto stub = vantaapi::VantaApi::NewStub(FaultDevice::api_channel());
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 30s);
    auto stream = stub->Subscribe(&context);
    read_numbers(*stream, wanted, result.numbers);
    result.reached_target = result.numbers.size() == wanted;
    switch (leave) {
        case Leave::cancel:
            context.TryCancel();
            break;
        case Leave::half_close:
            stream->WritesDone();
            break;
        case Leave::unsubscribe: {
            vantaapi::SubscriptionRequest request;
            request.set_unsubscribe(true);
            stream->Write(request);
            break;
        }
    }
    read_numbers(*stream, SIZE_MAX, result.numbers);
    result.status = stream->Finish();
    return result;
}

// Every number from the first on, none twice, none missing.
::testing::AssertionResult consecutive(const std::vector<int>& numbers) {
    for (size_t i = 1; i < numbers.size(); ++i) {
        if (numbers[i] != numbers[i - 1] + 1) {
            return ::testing::AssertionFailure()
                   << numbers[i] << " followed " << numbers[i - 1] << " (event " << i << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// `in_process` subscribers on threads of the test and `vanishing` `vanta-cli
// events` processes killed with SIGKILL, started at random moments over about
// a second and a half, each leaving after a random number of events.
std::vector<Visit> churn(std::mt19937& random, int in_process, int vanishing) {
    std::vector<Visit> visits(in_process);
    std::vector<std::thread> threads;
    std::uniform_int_distribution<int> pause_ms(0, 15);
    std::uniform_int_distribution<size_t> wanted(1, 60);
    std::uniform_int_distribution<int> leave(0, 2);
    for (int i = 0; i < in_process; ++i) {
        threads.emplace_back([&visit_result = visits[i], how = static_cast<Leave>(leave(random)),
                              count = wanted(random)] { visit_result = visit(how, count); });
        std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms(random)));
    }
    std::uniform_int_distribution<int> life_ms(50, 600);
    for (int i = 0; i < vanishing; ++i) {
        threads.emplace_back([life = std::chrono::milliseconds(life_ms(random))] {
            RunningProgram cli({VANTA_CLI_PATH, "events"}, RunningProgram::Output::discarded);
            std::this_thread::sleep_for(life);
            cli.signal(SIGKILL);
            cli.wait_for_exit(5s);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return visits;
}

// Threads of the daemon back at `level` (bounded wait): every Subscribe call
// holds a handler thread and a reader thread while its writer is attached.
::testing::AssertionResult settles_at(pid_t daemon, const Footprint& level) {
    Footprint now;
    if (wait_until(
            [&] {
                now = footprint_of(daemon);
                return now.threads <= level.threads + kThreadSlack &&
                       now.descriptors <= level.descriptors;
            },
            15s)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "threads " << now.threads << " (idle " << level.threads << "), descriptors "
           << now.descriptors << " (idle " << level.descriptors << ")";
}

TEST(SubscriberChurn, TwoHundredComeAndGoWhileEventsFlow) {
    FaultDevice device;
    ASSERT_TRUE(device.started());
    const pid_t daemon = device.daemon().pid();
    BusTicker ticker(device, 2ms);
    std::mt19937 random(20261206);

    // A first round brings gRPC's and the allocator's pools to their working
    // size; what the daemon holds after it is its idle level.
    churn(random, 40, 5);
    ASSERT_TRUE(settles_at(daemon, footprint_of(daemon)));
    std::this_thread::sleep_for(1s);
    const Footprint idle = footprint_of(daemon);

    const std::vector<Visit> visits = churn(random, 180, 20);
    for (const Visit& v : visits) {
        SCOPED_TRACE(kLeaveNames[static_cast<int>(v.leave)]);
        EXPECT_TRUE(v.reached_target) << "the stream ended after " << v.numbers.size();
        EXPECT_TRUE(consecutive(v.numbers));
        if (v.leave != Leave::cancel) {
            EXPECT_TRUE(v.status.ok()) << v.status.error_message();
        }
    }

    // Nothing is attached any more: the threads go, and a newcomer gets the
    // events that follow.
    EXPECT_TRUE(settles_at(daemon, idle));
    EXPECT_FALSE(device.daemon().wait_for_exit(0ms)) << "the daemon ended";
    const Visit newcomer = visit(Leave::unsubscribe, 20);
    EXPECT_TRUE(newcomer.reached_target);
    EXPECT_TRUE(consecutive(newcomer.numbers));
    ticker.publishing.stop();

    const Footprint after = footprint_of(daemon);
    if (!after.emulated && !kSanitizerHoldsFreedMemory) {
        EXPECT_LE(after.rss_kib, idle.rss_kib + kRssToleranceKib);
    }
}

TEST(SlowSubscriber, OneThatStopsReadingHoldsUpNobodyElse) {
    // Far more than any transport window: the stalled stream's writes block
    // long before the end.
    constexpr size_t kEvents = 1000;
    constexpr size_t kPadding = 16 * 1024;
    FaultDevice device;
    ASSERT_TRUE(device.started());

    grpc::ClientContext stalled_context;
    auto stalled = device.api->Subscribe(&stalled_context);
    const auto readers = device.subscribed(3);

    for (int number = 1; number <= static_cast<int>(kEvents); ++number) {
        device.publish_numbered(number, kPadding);
        std::this_thread::sleep_for(2ms);
    }
    for (auto& reader : readers) {
        const auto numbers = numbers_in(events_from(
            *reader, 0, [](const auto& since) { return numbers_in(since).size() >= kEvents; }));
        ASSERT_EQ(numbers.size(), kEvents) << "a reader was held up";
        EXPECT_TRUE(consecutive(numbers));
    }

    // What the stalled stream did not take waited for it, in order.
    std::vector<int> late;
    read_numbers(*stalled, kEvents, late);
    EXPECT_EQ(late.size(), kEvents);
    EXPECT_TRUE(consecutive(late));
    EXPECT_EQ(late.front(), 1);
    stalled_context.TryCancel();
}

}  // namespace
}  // namespace vanta::testing
