// The Bluetooth, camera and call-history plugins around clients that, unlike
// the daemon's substitutes, report devices, settings, records and events:
// what a real backend would report reaches the API's messages and events.
// (What the substitutes answer is owned by the no-backend table.)

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include "plugins/bluetooth_plugin.h"
#include "plugins/call_history_plugin.h"
#include "plugins/camera_plugin.h"
#include "rpc/client/grpc_client_stub.h"
#include "support/bus_translation_table.h"
#include "support/capturing_writer.h"

namespace vanta::testing {
namespace {

using vantaapi::VantaEvent;

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
        return from_text<cameramanager::CameraSettings>(
            "brightness: 40 saturation: 2 hue: 3 auto_focus: true focal_length: 5 "
            "horizontal_value: -6 vertical_value: 7");
    }
};

class FakeCallHistory final : public FakeObservable<callhistory::Client, callhistory::Event> {
  public:
    callhistory::ListRecordsResponse ListRecords(
        const callhistory::ListRecordsRequest& request) override {
        last_request = request;
        return from_text<callhistory::ListRecordsResponse>(R"(
            records {
                name: 'Ada' uri: 'sip:ada@example.org' avatar_id: 'av-1'
                timestamp { seconds: 1700000000 } duration_sec { seconds: 95 }
                description: DESCRIPTION_MEETING direction: DIRECTION_OUTGOING
                disposition: DISPOSITION_MISSED backend: BACKEND_ORVA occurrence_count: 3
            }
            records { name: 'Bob' }
            next_page_token: 'page-2')");
    }
    callhistory::ListRecordsRequest last_request;
};

template <typename Message>
void expect_text(const Message& actual, const std::string& expected) {
    const Message wanted = from_text<Message>(expected);
    EXPECT_TRUE(google::protobuf::util::MessageDifferencer::Equals(actual, wanted))
        << "answered: " << actual.ShortDebugString() << "\nexpected: " << wanted.ShortDebugString();
}

class SubstituteBackedPlugins : public ::testing::Test {
  protected:
    SubstituteBackedPlugins() { publisher_.add(&writer_); }
    ~SubstituteBackedPlugins() override { publisher_.remove(&writer_); }

    // Each backend event (text) and the API event it becomes ("" for none).
    template <typename Fake>
    void check_events(Fake& client, const std::vector<std::pair<std::string, std::string>>& rows) {
        for (const auto& [backend_event, api_event] : rows) {
            SCOPED_TRACE(backend_event);
            writer_.clear();
            client.emit(backend_event);
            const std::vector<VantaEvent> published = writer_.events();
            if (api_event.empty()) {
                EXPECT_TRUE(published.empty()) << published.front().ShortDebugString();
            } else if (published.size() != 1) {
                ADD_FAILURE() << published.size() << " events published";
            } else {
                expect_text(published.front(), api_event);
            }
        }
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
    expect_text(devices,
                "device_list { state: BTDEVICE_STATE_CONNECTED address: 'aa:bb' name: 'Buds' } "
                "device_list { state: BTDEVICE_STATE_BONDING }");
    vantaapi::BluetoothState state;
    ASSERT_TRUE(plugin.GetBluetoothState(&context_, &empty_, &state).ok());
    EXPECT_EQ(state.state(), vantaapi::BLUETOOTH_STATE_ON);

    check_events(client, {
                             {"state_changed { state: BTSTATE_TURNING_OFF }",
                              "bluetooth_state_event { state: BLUETOOTH_STATE_TURNING_OFF }"},
                             {"device_info { address { address: 'cc:dd' } name: 'Phone' state: "
                              "DEVICE_STATE_NOT_BONDED }",
                              "bluetooth_device_update { state: BTDEVICE_STATE_NOT_BONDED address: "
                              "'cc:dd' name: 'Phone' }"},
                             {"error_report { pair_error { address: 'cc:dd' } }",
                              "bluetooth_error_report { errortype: BTERROR_PAIR_FAILED address: "
                              "'cc:dd' }"},
                             {"error_report { connect_error { address: 'aa:bb' } }",
                              "bluetooth_error_report { errortype: BTERROR_CONNECT_FAILED address: "
                              "'aa:bb' }"},
                             {"error_report {}", ""},
                             {"audio_state { state: BTAUDIO_HANDSFREE }", ""},
                             {"stream_started {}", ""},
                         });
}

TEST_F(SubstituteBackedPlugins, CameraSettingsAndEvents) {
    auto owned = std::make_unique<FakeCamera>();
    FakeCamera& client = *owned;
    CameraPlugin plugin(publisher_, std::move(owned));

    vantaapi::CameraSettings settings;
    ASSERT_TRUE(plugin.GetCameraSettings(&context_, &empty_, &settings).ok());
    expect_text(settings,
                "brightness: 40 saturation: 2 hue: 3 auto_focus: true focal_length: 5 "
                "horizontal_value: -6 vertical_value: 7");

    // The event's state with the other one as the camera manager reports it.
    check_events(client, {
                             {"connection_state: kConnected",
                              "camera_state { connection_state: kConnected shutter_state: "
                              "kShutterClosed }"},
                             {"shutter_state: kShutterOpened",
                              "camera_state { connection_state: kDisconnected shutter_state: "
                              "kShutterOpened }"},
                             {"stream_started {}", ""},
                         });
}

TEST_F(SubstituteBackedPlugins, CallRecordsAndChanges) {
    auto owned = std::make_unique<FakeCallHistory>();
    FakeCallHistory& client = *owned;
    CallHistoryPlugin plugin(publisher_, std::move(owned));

    const auto request = from_text<vantaapi::ListRecordsRequest>(
        "search_token: 'ad' page_size: 20 page_token: 'page-1'");
    vantaapi::ListRecordsResponse records;
    ASSERT_TRUE(plugin.list_records(&context_, &request, &records).ok());
    expect_text(client.last_request, "search_token: 'ad' page_size: 20 page_token: 'page-1'");
    expect_text(records, R"(
        records {
            name: 'Ada' uri: 'sip:ada@example.org' avatar_id: 'av-1'
            timestamp { seconds: 1700000000 } duration_sec { seconds: 95 }
            description: DESCRIPTION_MEETING direction: DIRECTION_OUTGOING
            disposition: DISPOSITION_MISSED backend: BACKEND_ORVA occurrence_count: 3
        }
        records { name: 'Bob' }
        next_page_token: 'page-2')");

    check_events(client,
                 {
                     {"call_history_changed {}", "call_history_event { call_history_changed {} }"},
                     {"stream_started {}", ""},
                 });
}

}  // namespace
}  // namespace vanta::testing
