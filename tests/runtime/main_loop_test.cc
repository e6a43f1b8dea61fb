#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <numeric>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/guarded_run.h"
#include "runtime/main_loop.h"
#include "support/recording_logger.h"

using namespace std::chrono_literals;
using vanta::testing::RecordingLogger;

TEST(MainLoop, RunsWorkFromOtherThreadsInOrderUntilAskedToQuit) {
    RecordingLogger logger;
    WaitingExecutor executor(logger);
    std::vector<int> order;
    std::atomic<bool> quit{false};
    std::thread producer([&] {
        for (int i = 0; i < 100; ++i) {
            executor.add_work([&order, i] { order.push_back(i); }, 1);
        }
        executor.add_work([&] { quit = true; }, 2);
    });
    vanta::run_main_loop(
        executor, [&] { return quit.load(); }, 20ms);
    producer.join();
    std::vector<int> expected(100);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
}

TEST(MainLoop, QuitFlagIsLookedAtOncePerPeriodWhileIdle) {
    RecordingLogger logger;
    WaitingExecutor executor(logger);
    int looks = 0;
    // Wake-ups by work in the middle of a period must not start a new period,
    // so over ~5 periods the flag is looked at about 5 times, not once per item.
    std::atomic<bool> stop_feeding{false};
    std::thread feeder([&] {
        while (!stop_feeding) {
            executor.add_work([] {}, 1);
            std::this_thread::sleep_for(5ms);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    vanta::run_main_loop(
        executor, [&] { return ++looks > 5; }, 50ms);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    stop_feeding = true;
    feeder.join();
    EXPECT_EQ(looks, 6);
    EXPECT_GE(elapsed, 250ms) << "the sixth look comes only after five whole periods";
}

// A work item's exception leaves the main loop and the guarded region, which
// reports it; main() does not catch it, so it ends the daemon through
// std::terminate, and the line must not be lost in a buffer then.
TEST(MainLoopDeathTest, ThrowingWorkItemPrintsTheLineAndEndsTheProcessAbnormally) {
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);  // the output the death test reads
            []() noexcept {
                vanta::run_guarded([] {
                    RecordingLogger logger;
                    WaitingExecutor executor(logger);
                    executor.add_work([] { throw std::runtime_error("broken work"); }, 9);
                    vanta::run_main_loop(
                        executor, [] { return false; }, 20ms);
                });
            }();
        },
        ::testing::KilledBySignal(SIGABRT), "^Caught runtime_error with message 'broken work'\n");
}

TEST(GuardedRun, ReportsEachKindOfExceptionWithItsLine) {
    struct Case {
        std::function<void()> body;
        std::string line;
    };
    const std::vector<Case> cases = {
        {[] { throw std::system_error(std::make_error_code(std::errc::invalid_argument), "lock"); },
         "Caught system_error with code generic:22 meaning lock: Invalid argument\n"},
        {[] { throw std::logic_error("odd"); }, "Caught exception meaning odd\n"},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStdout();
        EXPECT_ANY_THROW(vanta::run_guarded(c.body));
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.line);
    }
    ::testing::internal::CaptureStdout();
    EXPECT_NO_THROW(vanta::run_guarded([] {}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}
