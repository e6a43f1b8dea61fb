// The substitutes of the backends that the daemon never contacts: fixed
// answers, no connection, no events.

#include <chrono>

#include <gtest/gtest.h>

#include "clients/bluetoothmanager/bluetooth_client.h"
#include "clients/callhistory/call_history_client.h"
#include "clients/cameramanager/camera_manager_client.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

TEST(Substitutes, BluetoothIsOffKnowsNoDeviceAndAcceptsEveryCommand) {
    ManualExecutor executor;
    const auto bluetooth = bluetoothmanager::create_client(executor, 2000ms);
    EXPECT_EQ(bluetooth->GetState(), bluetoothmanager::BTSTATE_OFF);
    EXPECT_EQ(bluetooth->GetAudioState(), bluetoothmanager::BTAUDIO_DISCONNECTED);
    EXPECT_TRUE(bluetooth->Pair("00:11:22:33:44:55"));
    EXPECT_TRUE(bluetooth->SetVolume("00:11:22:33:44:55", 9));
    EXPECT_EQ(bluetooth->GetBondedDevices().device_list_size(), 0);
    EXPECT_EQ(bluetooth->GetInquiryResult().device_list_size(), 0);
    int events = 0;
    bluetooth->SetObserver([&](const bluetoothmanager::Event&) { ++events; }, [&] { ++events; });
    bluetooth->RemoveObserver();
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(executor.has_work()) << "a substitute queues no work";
}

TEST(Substitutes, CameraIsDisconnectedAndCannotTellItsSettings) {
    ManualExecutor executor;
    const auto camera = cameramanager::create_cameramanager_client(executor, 2000ms);
    EXPECT_EQ(camera->GetConnectionState().state(), cameramanager::kDisconnected);
    EXPECT_EQ(camera->GetShutterState().state(), cameramanager::kShutterOpened);
    EXPECT_EQ(camera->GetStreamStatistics().total_frame_count(), 0u);
    EXPECT_FALSE(camera->AdjustBrightness(3));
    EXPECT_FALSE(camera->Move("pan", 2));
    try {
        camera->GetCameraSettings();
        FAIL() << "settings answered";
    } catch (const ServiceMethodNotImplementedError& e) {
        EXPECT_STREQ(e.what(), "camera is not implement");
    }
}

TEST(Substitutes, CallHistoryHasNoRecords) {
    ManualExecutor executor;
    const auto history = callhistory::create_client(executor, 2000ms);
    EXPECT_EQ(history->ListRecords({}).ByteSizeLong(), 0u);
}

}  // namespace
}  // namespace vanta::testing
