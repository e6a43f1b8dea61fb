// The daemon's end and its calls' ends under faults: SIGTERM while it is busy
// or its neighbours are gone or hung, and a backend that accepts calls but
// never answers.

#include <signal.h>

#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "api/api_call.h"
#include "fault_device.h"
#include "support/wait_until.h"

namespace vanta::testing {
namespace {

// SIGTERM to `daemon`: it exits with status 0 within six seconds and leaves
// no crash record. The main loop looks at the termination flag at least
// every five seconds; taken apart (flag seen within five, teardown within
// one), the worst moment for the signal is covered too.
::testing::AssertionResult ends_in_time(RunningProgram& daemon, const DaemonLog& log,
                                        std::chrono::milliseconds teardown_limit = 1000ms) {
    const auto signalled = std::chrono::system_clock::now();
    // The teardown bound stretches with the tests' other waits (a sanitized or
    // emulated daemon's exit does more); the flag's 5 s are the daemon's own.
    teardown_limit = scaled(teardown_limit);
    daemon.signal(SIGTERM);
    const auto status = daemon.wait_for_exit(5000ms + teardown_limit);
    const auto ended = std::chrono::system_clock::now();
    if (!status) {
        return ::testing::AssertionFailure()
               << "still running " << (5000ms + teardown_limit).count() << " ms after SIGTERM";
    }
    if (*status != 0) {
        return ::testing::AssertionFailure() << "ended with status " << *status;
    }
    std::error_code error;
    if (std::filesystem::exists("/crashlog/dumpfiles", error) &&
        !std::filesystem::is_empty("/crashlog/dumpfiles", error)) {
        return ::testing::AssertionFailure() << "a crash record was written";
    }
    if (!wait_until([&] { return log.count(daemon.pid(), "Shutting down vantaapid") > 0; }, 2s)) {
        return ::testing::AssertionFailure() << "no \"Shutting down vantaapid\" in the log";
    }
    const auto shutting_down = log.lines(daemon.pid(), "Shutting down vantaapid").front().time;
    const auto ms = [](auto span) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
    };
    if (shutting_down - signalled > 5100ms || ended - shutting_down > teardown_limit) {
        return ::testing::AssertionFailure()
               << "flag seen after " << ms(shutting_down - signalled) << " ms, teardown took "
               << ms(ended - shutting_down) << " ms";
    }
    return ::testing::AssertionSuccess();
}

TEST(Sigterm, EndsWithStatusZeroWithinSixSecondsWhateverTheDaemonIsDoing) {
    struct Row {
        const char* situation;
        std::function<void(FaultDevice&)> arrange;
    };
    const Row rows[] = {
        {"requests, open streams and bus events", [](FaultDevice&) {}},
        {"every backend and the broker gone",
         [](FaultDevice& device) {
             for (ObservedBackend& backend : device.observed) {
                 backend.server->stop();
             }
             device.volume_server->stop();
             device.stop_broker();
         }},
        // Calls already waiting on a hung backend hold the server for their
        // grace second: the load goes to the volume manager, which answers.
        {"every observed backend hung",
         [](FaultDevice& device) {
             for (ObservedBackend& backend : device.observed) {
                 backend.server->hang();
             }
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        FaultDevice device;
        ASSERT_TRUE(device.started());
        const auto streams = device.subscribed(3);
        BusTicker ticker(device);
        auto channel = FaultDevice::api_channel();
        Repeated load([&] { return call_api(*channel, "SetVolume", "volume: 30").status.ok(); }, 4);
        ASSERT_TRUE(wait_until([&] { return load.succeeded() > 20; }, 10s));
        row.arrange(device);
        std::this_thread::sleep_for(300ms);

        EXPECT_TRUE(ends_in_time(device.daemon(), device.log()));
    }
}

// A device that stops answering altogether, as paused processes do: the
// simulator (bus, call control, media and the other backends) stopped by
// SIGSTOP under the daemon, which has its streams open to it and its tone
// resources taken from it. The daemon used to stay for many seconds in its
// exit (a grace second per stream, five per media call); its teardown now
// takes up to about 1.7 s here, hence the looser bound.
TEST(Sigterm, EndsSoonWhenTheDeviceAroundItIsPaused) {
    RunningProgram simulator({VANTA_SIMULATOR_PATH}, RunningProgram::Output::discarded);
    ASSERT_TRUE(socket_appears("/tmp/vanta_simulator_control", 15s));
    DaemonLog log;
    RunningProgram daemon({VANTAAPID_PATH}, RunningProgram::Output::discarded);
    ASSERT_TRUE(socket_appears("/tmp/vantaapi_service", 15s));
    auto channel = FaultDevice::api_channel();
    EventStream events(*vantaapi::VantaApi::NewStub(channel));
    ASSERT_EQ(events.wait_for(1).size(), 1u);
    // Answered by the simulated volume manager, announced back on its bus.
    ASSERT_TRUE(call_api(*channel, "SetVolume", "volume: 35").status.ok());
    ASSERT_GE(events.wait_for(2).size(), 2u);

    simulator.signal(SIGSTOP);
    EXPECT_TRUE(ends_in_time(daemon, log, 3000ms));
    simulator.signal(SIGCONT);
}

TEST(HungBackend, CallsEndAtTheirDeadlineWhileOthersFlow) {
    FaultDevice device;
    ASSERT_TRUE(device.started());
    EventStream events(*device.api);
    ASSERT_EQ(events.wait_for(1).size(), 1u);
    BusTicker ticker(device);
    device.volume_server->hang();

    // More hung calls at once than gRPC keeps threads for when idle, each on
    // a channel of its own: how long each took, and its answer.
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::future<std::pair<std::chrono::steady_clock::duration, ApiAnswer>>> hung;
    for (int i = 0; i < 24; ++i) {
        hung.push_back(std::async(std::launch::async, [i, start] {
            const ApiAnswer answer =
                i == 0 ? call_api(*FaultDevice::api_channel(), "IsAudioHubEnabled", "")
                       : call_api(*FaultDevice::api_channel(), "SetVolume", "volume: 40");
            return std::pair(std::chrono::steady_clock::now() - start, answer);
        }));
    }
    // Other backends answer, and events arrive, while those wait.
    int answered = 0;
    const size_t events_before = events.wait_for(0, 0ms).size();
    auto channel = FaultDevice::api_channel();
    while (std::chrono::steady_clock::now() - start < 1500ms) {
        const ApiAnswer other = call_api(*channel, "LeaveAllMeetings", "");
        if (!other.status.ok()) {
            ADD_FAILURE() << other.status.error_message();
            break;
        }
        ++answered;
    }
    const size_t events_during = events.wait_for(0, 0ms).size() - events_before;
    EXPECT_GE(answered, 10);
    EXPECT_GE(events_during, 100u);

    // The volume manager's calls have 2 s. The text of a failed SetVolume's
    // answer is the no-backend test's (api/no_backend_test.cc).
    for (size_t i = 0; i < hung.size(); ++i) {
        SCOPED_TRACE(i == 0 ? "IsAudioHubEnabled" : "SetVolume");
        const auto [took, answer] = hung[i].get();
        EXPECT_GE(took, 1900ms);
        EXPECT_LE(took, 5s);
        if (i > 0) {
            EXPECT_EQ(answer.status.error_code(), grpc::StatusCode::UNAVAILABLE);
        } else {
            EXPECT_EQ(answer.status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
            EXPECT_EQ(answer.status.error_message(),
                      "IsAudioHubEnabled: [VolumeManager::IsAudioHubEnabled: DEADLINE_EXCEEDED - "
                      "[Deadline Exceeded]]");
        }
    }

    // Answered again once it is back.
    device.volume_server->start();
    EXPECT_TRUE(call_api(*channel, "SetVolume", "volume: 41").status.ok());
}

}  // namespace
}  // namespace vanta::testing
