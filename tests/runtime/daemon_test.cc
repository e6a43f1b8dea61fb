// Runs the vantaapid binary. Each case runs in a private /tmp and /dev/shm,
// so the daemon's fixed endpoints and its "log_data" segment are its own.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/logging/logtask.h"
#include "support/running_program.h"
#include "support/wait_until.h"
#include "tools/logreader/queue_reader.h"

using namespace std::chrono_literals;

namespace {

// Every message the daemon wrote into the shared-memory log so far.
std::vector<std::string> logged_messages() {
    logging::logtask::LogQueues queues;
    vanta::logreader::MessageAssembler assembler;
    std::vector<std::string> messages;
    for (const auto& message : vanta::logreader::take_waiting(queues.log(), assembler).messages) {
        messages.push_back(message.text);
    }
    return messages;
}

}  // namespace

// Idle: no callers and no streams; SIGTERM with open streams, under load or
// with the device around it gone is the fault tests' (faults/daemon_stop_test.cc).
TEST(Daemon, SigtermWhileIdleShutsDownWithStatusZero) {
    vanta::testing::RunningProgram daemon({VANTAAPID_PATH},
                                          vanta::testing::RunningProgram::Output::discarded);
    ASSERT_TRUE(
        vanta::testing::wait_until([] { return access("/tmp/vantaapi_service", F_OK) == 0; }, 10s));
    ASSERT_FALSE(daemon.wait_for_exit(0ms)) << "the daemon ended by itself";
    daemon.signal(SIGTERM);
    // An idle daemon looks at the flag at least every 5 seconds.
    const auto status = daemon.wait_for_exit(8s);
    ASSERT_TRUE(status) << "no shutdown after SIGTERM";
    EXPECT_EQ(*status, 0);
    // Logging is torn down right after this line: nothing follows it.
    const std::vector<std::string> messages = logged_messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "vantaapid I: Shutting down vantaapid");
}

TEST(Daemon, SigintEndsItByTheDefaultActionWithoutShutdown) {
    vanta::testing::RunningProgram daemon({VANTAAPID_PATH},
                                          vanta::testing::RunningProgram::Output::discarded);
    std::this_thread::sleep_for(300ms);
    daemon.signal(SIGINT);
    const auto status = daemon.wait_for_exit(3s);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 128 + SIGINT);
    EXPECT_THAT(logged_messages(),
                ::testing::Not(::testing::Contains("vantaapid I: Shutting down vantaapid")));
}
