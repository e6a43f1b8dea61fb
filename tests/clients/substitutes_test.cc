// The substitutes of the backends that the daemon never contacts: no
// connection, no thread, no events. Their answers to the API's operations are
// owned by the no-backend table (tests/api); here are the facts the API cannot
// reach.

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "clients/bluetoothmanager/bluetooth_client.h"
#include "clients/callhistory/call_history_client.h"
#include "clients/cameramanager/camera_manager_client.h"
#include "runtime/executor/manual_executor.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Substitutes, StartNoThreadDeliverNoEventQueueNoWorkAndAnswerAtOnce) {
    const auto thread_count = [] {
        const std::filesystem::directory_iterator tasks("/proc/self/task");
        return std::distance(begin(tasks), end(tasks));
    };
    const auto threads_before = thread_count();
    ManualExecutor executor;
    const auto bluetooth = bluetoothmanager::create_client(executor, 2000ms);
    const auto camera = cameramanager::create_cameramanager_client(executor, 2000ms);
    const auto history = callhistory::create_client(executor, 2000ms);
    int calls = 0;
    const auto count = [&] { ++calls; };
    bluetooth->SetObserver([&](const bluetoothmanager::Event&) { count(); }, count);
    camera->SetObserver([&](const cameramanager::Event&) { count(); }, count, count);
    history->SetObserver([&](const callhistory::Event&) { count(); }, count);
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(thread_count(), threads_before);
    bluetooth->RemoveObserver();
    camera->RemoveObserver();
    history->RemoveObserver();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(executor.has_work()) << "a substitute queues no work";

    using State = GrpcClientBase::ConnectivityState;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(bluetooth->wait_for_connected(5s));
    EXPECT_FALSE(bluetooth->wait_for_channel_state(State::Idle, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(bluetooth->channel_state(), State::Idle);
    EXPECT_EQ(bluetooth->try_connect(), State::Idle);
    bluetooth->set_caller("VantaApi");
    EXPECT_EQ(bluetooth->get_caller(), "");
}

}  // namespace
}  // namespace vanta::testing
