#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/executor/manual_executor.h"
#include "runtime/executor/waiting_executor.h"
#include "support/recording_logger.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using vanta::testing::RecordingLogger;

namespace {

// Waits (bounded) until the executor's queue holds `count` items.
bool wait_for_queue_size(WaitingExecutor& executor, unsigned count) {
    return vanta::testing::wait_until(
        [&] {
            std::lock_guard<std::mutex> lock(executor.queue_mutex());
            return executor.size() >= count;
        },
        5s);
}

WaitingExecutor::ContextualWorkItem take_front(WaitingExecutor& executor) {
    std::lock_guard<std::mutex> lock(executor.queue_mutex());
    return executor.fetch_work();
}

}  // namespace

// Cancelled work never runs, and run() drops its handle.
TEST(ManualExecutor, RunsDelayedWorkAfterEnoughSimulatedTimeAndCancelledWorkNever) {
    ManualExecutor executor;
    int advances = 0;
    bool ran = false;
    bool cancelled_ran = false;
    auto cancelled = executor.schedule_work([&] { cancelled_ran = true; }, 10ms);
    EXPECT_TRUE(cancelled->is_scheduled());
    cancelled->cancel();
    EXPECT_FALSE(cancelled->is_scheduled());
    executor.schedule_work([&] { ran = true; }, 25ms);
    // Drive it by hand to count the advances: 25 -> 15 -> 5 -> -5.
    while (!ran) {
        executor.run();
        if (executor.has_scheduled_work()) {
            executor.advance_time(10ms);
            ++advances;
        }
        executor.run();
        ASSERT_LE(advances, 10);
    }
    EXPECT_EQ(advances, 3);
    EXPECT_FALSE(cancelled_ran);
    EXPECT_FALSE(executor.has_scheduled_work());
}

TEST(ManualExecutor, RunToCompletionRunsImmediateAndDelayedWorkInOrder) {
    ManualExecutor executor;
    std::vector<std::string> order;
    executor.schedule_work([&] { order.push_back("late"); }, 30ms);
    executor.schedule_work([&] { order.push_back("early"); }, 10ms);
    executor.add_work(
        [&] {
            order.push_back("now");
            executor.add_work([&] { order.push_back("chained"); }, 2);
        },
        1);
    executor.run_to_completion(10ms);
    EXPECT_THAT(order, ::testing::ElementsAre("now", "chained", "early", "late"));
    EXPECT_FALSE(executor.has_work());
}

// A waiting executor logging into a recorder.
class WaitingExecutorTest : public ::testing::Test {
  protected:
    RecordingLogger logger_;
    WaitingExecutor executor_{logger_};
};

TEST_F(WaitingExecutorTest, LabelsWorkWithNameOrDefault) {
    executor_.add_work([] {}, 7);
    executor_.add_work([] {}, 7, "");
    executor_.add_work([] {}, 7, "reconnect_stream");
    std::lock_guard<std::mutex> lock(executor_.queue_mutex());
    ASSERT_EQ(executor_.size(), 3u);
    EXPECT_EQ(executor_.fetch_work().name, "Work");
    EXPECT_EQ(executor_.fetch_work().name, "Work");
    const auto item = executor_.fetch_work();
    EXPECT_EQ(item.name, "reconnect_stream");
    EXPECT_EQ(item.id, 7);
    EXPECT_TRUE(executor_.empty());
}

// Work cancelled at once would have reached the queue first.
TEST_F(WaitingExecutorTest, DelayedWorkReachesQueueWithIdZeroAfterDelayAndCancelledNever) {
    bool ran = false;
    const auto start = std::chrono::steady_clock::now();
    auto cancelled = executor_.schedule_work([] {}, 50ms);
    cancelled->cancel();
    auto handle = executor_.schedule_work([&] { ran = true; }, 100ms);
    EXPECT_TRUE(executor_.is_work_scheduled());
    ASSERT_TRUE(wait_for_queue_size(executor_, 1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_FALSE(cancelled->is_scheduled());
    auto item = take_front(executor_);
    EXPECT_EQ(item.id, 0);
    EXPECT_EQ(item.name, "Work");
    EXPECT_FALSE(ran) << "delayed work is queued, not run, by the timer thread";
    executor_.process_work(item);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(handle->is_scheduled());
    std::lock_guard<std::mutex> lock(executor_.queue_mutex());
    EXPECT_TRUE(executor_.empty());
}

TEST_F(WaitingExecutorTest, ManyTimersFromSeveralThreadsAllFire) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i) {
                executor_.schedule_work([] {}, std::chrono::milliseconds((i * 7 + t) % 20));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_TRUE(wait_for_queue_size(executor_, kThreads * kPerThread));
}

TEST(WaitingExecutor, DestructionRunsNeitherQueuedNorPendingWork) {
    RecordingLogger logger;
    std::atomic<int> runs{0};
    {
        WaitingExecutor executor(logger);
        executor.add_work([&] { ++runs; }, 1);
        executor.schedule_work([&] { ++runs; }, 20ms);
        executor.schedule_work([&] { ++runs; }, 10s);
    }
    EXPECT_EQ(runs, 0);
}

TEST_F(WaitingExecutorTest, ProcessWorkLogsOnlyItemsSlowerThanHalfASecond) {
    WaitingExecutor::ContextualWorkItem quick{[] {}, 7, "reconnect_stream"};
    executor_.process_work(quick);
    EXPECT_TRUE(logger_.lines().empty());

    WaitingExecutor::ContextualWorkItem slow{[] { std::this_thread::sleep_for(520ms); }, 7,
                                             "reconnect_stream"};
    executor_.process_work(slow);
    ASSERT_EQ(logger_.lines().size(), 1u);
    EXPECT_THAT(logger_.lines()[0],
                ::testing::MatchesRegex("I reconnect_stream\\(id=7\\) took 5[0-9][0-9] ms to "
                                        "finish"));
}

TEST_F(WaitingExecutorTest, ProcessWorkLogsAndRethrowsWhatTheItemThrows) {
    WaitingExecutor::ContextualWorkItem failing{[] { throw std::runtime_error("boom"); }, 3,
                                                "Work"};
    EXPECT_THROW(executor_.process_work(failing), std::runtime_error);
    EXPECT_THAT(logger_.lines(), ::testing::ElementsAre("I Work(id=3) threw exception boom"));
}
