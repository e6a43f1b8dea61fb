// The substitutes of the backends that the daemon never contacts: no
// connection, no events. Their answers to the API's operations are owned by
// the no-backend table (tests/api); here are the facts the API cannot reach.

#include <chrono>

#include <gtest/gtest.h>

#include "clients/bluetoothmanager/bluetooth_client.h"
#include "clients/callhistory/call_history_client.h"
#include "clients/cameramanager/camera_manager_client.h"
#include "runtime/executor/manual_executor.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Substitutes, DeliverNoEventAndQueueNoWork) {
    ManualExecutor executor;
    const auto bluetooth = bluetoothmanager::create_client(executor, 2000ms);
    const auto camera = cameramanager::create_cameramanager_client(executor, 2000ms);
    const auto history = callhistory::create_client(executor, 2000ms);
    int calls = 0;
    const auto count = [&] { ++calls; };
    bluetooth->SetObserver([&](const bluetoothmanager::Event&) { count(); }, count);
    camera->SetObserver([&](const cameramanager::Event&) { count(); }, count);
    history->SetObserver([&](const callhistory::Event&) { count(); }, count);
    bluetooth->RemoveObserver();
    camera->RemoveObserver();
    history->RemoveObserver();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(executor.has_work()) << "a substitute queues no work";
}

}  // namespace
}  // namespace vanta::testing
