// The Bluetooth, camera and call-history plugins around clients that, unlike
// the daemon's substitutes, report devices, settings, records and events:
// what a real backend would report reaches the API's messages and events
// (the events are rows of backend_events.textproto). What the substitutes
// answer is owned by the no-backend table.

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "backend_event_rows.h"
#include "plugins/bluetooth_plugin.h"
#include "plugins/call_history_plugin.h"
#include "plugins/camera_plugin.h"
#include "rpc/client/grpc_client_stub.h"
#include "support/bus_translation_table.h"
#include "support/capturing_writer.h"
#include "support/data_files.h"
#include "support/named_calls.h"

namespace vanta::testing {
namespace {

using vantaapi::VantaEvent;

// What the fakes answer and the plugins must pass on unchanged: the backend's
// messages and the API's have the same fields.
constexpr const char* kCameraSettings =
    "brightness: 40 saturation: 2 hue: 3 auto_focus: true focal_length: 5 horizontal_value: -6 "
    "vertical_value: 7";
// The records of call_records.textproto.
std::string call_records() {
    return read_text(VANTA_PLUGIN_ROWS_DIR "/call_records.textproto");
}
constexpr const char* kListRequest = "search_token: 'ad' page_size: 20 page_token: 'page-1'";

// A client whose backend stream is driven by the test through emit().
template <typename Interface, typename Event>
class FakeObservable : public GrpcObservableClientStub<Interface, Event> {
  public:
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& /*on_disconnect*/) override {
        on_event_ = on_event;
    }
    void emit(const std::string& text) { on_event_(from_text<Event>(text)); }

  private:
    std::function<void(const Event&)> on_event_;
};

class FakeBluetooth final
    : public FakeObservable<bluetoothmanager::Client, bluetoothmanager::Event> {
  public:
    bool Enable() override { return true; }
    bool Disable() override { return true; }
    bool StartInquiry() override { return true; }
    bool StopInquiry() override { return true; }
    bool Pair(const std::string&) override { return true; }
    bool UnPair(const std::string&) override { return true; }
    bool ConnectHeadset(const std::string&) override { return true; }
    bool DisconnectHeadset(const std::string&) override { return true; }
    bool SetVolume(const std::string&, int) override { return true; }
    bool StartService() override { return true; }
    bool StopService() override { return true; }
    bluetoothmanager::BluetoothStateType GetState() override {
        return bluetoothmanager::BTSTATE_ON;
    }
    bluetoothmanager::AudioStateType GetAudioState() override {
        return bluetoothmanager::BTAUDIO_HANDSFREE;
    }
    bluetoothmanager::RemoteDeviceList GetBondedDevices() override {
        return from_text<bluetoothmanager::RemoteDeviceList>(
            "device_list { address { address: 'aa:bb' } name: 'Buds' state: "
            "DEVICE_STATE_CONNECTED } device_list { state: DEVICE_STATE_BONDING }");
    }
    bluetoothmanager::RemoteDeviceList GetInquiryResult() override { return {}; }
};

class FakeCamera final
    : public FakeObservable<cameramanager::CameraManagerClient, cameramanager::Event> {
  public:
    void StartSelfView() override {}
    void StopSelfView() override {}
    cameramanager::ConnectionStateMsg GetConnectionState() override {
        return from_text<cameramanager::ConnectionStateMsg>("state: kDisconnected");
    }
    cameramanager::ShutterStateMsg GetShutterState() override {
        return from_text<cameramanager::ShutterStateMsg>("state: kShutterClosed");
    }
    cameramanager::StreamStatisticsMsg GetStreamStatistics() override { return {}; }
    void ChangeVideoBackgroundEffect(int) override {}
    void Zoom(unsigned) override {}
    bool AdjustBrightness(int) override { return true; }
    bool Move(const std::string&, int) override { return true; }
    cameramanager::CameraSettings GetCameraSettings() override {
        return from_text<cameramanager::CameraSettings>(kCameraSettings);
    }
};

class FakeCallHistory final : public FakeObservable<callhistory::Client, callhistory::Event> {
  public:
    callhistory::ListRecordsResponse ListRecords(
        const callhistory::ListRecordsRequest& request) override {
        last_request = request;
        return from_text<callhistory::ListRecordsResponse>(call_records());
    }
    callhistory::ListRecordsRequest last_request;
};

class SubstituteBackedPlugins : public ::testing::Test {
  protected:
    SubstituteBackedPlugins() { publisher_.add(&writer_); }
    ~SubstituteBackedPlugins() override { publisher_.remove(&writer_); }

    // The client's events in the row of `backend` (backend_events.textproto),
    // sent in order, and the events published of them.
    template <typename Fake>
    void check_events(Fake& client, const std::string& backend) {
        const BackendEvents row = backend_event_row(backend);
        for (const std::string& event : row.sent()) {
            client.emit(event);
        }
        expect_published(row, writer_.events());
    }

    GrpcServerPublisher<VantaEvent> publisher_;
    CapturingWriter<VantaEvent> writer_;
    grpc::ServerContext context_;
    google::protobuf::Empty empty_;
};

TEST_F(SubstituteBackedPlugins, BluetoothDevicesAndEvents) {
    auto owned = std::make_unique<FakeBluetooth>();
    FakeBluetooth& client = *owned;
    BluetoothPlugin plugin(publisher_, std::move(owned));

    vantaapi::RemoteBluetoothDeviceList devices;
    ASSERT_TRUE(plugin.GetBondedDevices(&context_, &empty_, &devices).ok());
    EXPECT_EQ(devices.ShortDebugString(),
              normalized(*devices.GetDescriptor(),
                         "device_list { state: BTDEVICE_STATE_CONNECTED address: 'aa:bb' "
                         "name: 'Buds' } device_list { state: BTDEVICE_STATE_BONDING }"));
    vantaapi::BluetoothState state;
    ASSERT_TRUE(plugin.GetBluetoothState(&context_, &empty_, &state).ok());
    EXPECT_EQ(state.state(), vantaapi::BLUETOOTH_STATE_ON);

    check_events(client, "bluetoothmanager");
}

TEST_F(SubstituteBackedPlugins, CameraSettingsAndEvents) {
    auto owned = std::make_unique<FakeCamera>();
    FakeCamera& client = *owned;
    CameraPlugin plugin(publisher_, std::move(owned));

    vantaapi::CameraSettings settings;
    ASSERT_TRUE(plugin.GetCameraSettings(&context_, &empty_, &settings).ok());
    EXPECT_EQ(settings.ShortDebugString(), normalized(*settings.GetDescriptor(), kCameraSettings));

    check_events(client, "cameramanager");
}

TEST_F(SubstituteBackedPlugins, CallRecordsAndChanges) {
    auto owned = std::make_unique<FakeCallHistory>();
    FakeCallHistory& client = *owned;
    CallHistoryPlugin plugin(publisher_, std::move(owned));

    const auto request = from_text<vantaapi::ListRecordsRequest>(kListRequest);
    vantaapi::ListRecordsResponse records;
    ASSERT_TRUE(plugin.list_records(&context_, &request, &records).ok());
    EXPECT_EQ(client.last_request.ShortDebugString(),
              normalized(*client.last_request.GetDescriptor(), kListRequest));
    EXPECT_EQ(records.ShortDebugString(), normalized(*records.GetDescriptor(), call_records()));

    check_events(client, "callhistory");
}

}  // namespace
}  // namespace vanta::testing
