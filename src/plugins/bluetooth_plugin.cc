#include "plugins/bluetooth_plugin.h"

#include <chrono>
#include <utility>

#include "plugins/shared_enum_member.h"
#include "rpc/client/grpc_exception_handler.h"

using namespace std::chrono_literals;

namespace vanta {

namespace {

vantaapi::BluetoothStateType to_api_state(bluetoothmanager::BluetoothStateType state) {
    return plugins::shared_enum_member<vantaapi::BluetoothStateType>(
        state, vantaapi::BluetoothStateType_IsValid, "bluetooth state");
}

void copy_device(const bluetoothmanager::RemoteDeviceInfo& from,
                 vantaapi::BluetoothDeviceUpdate& to) {
    to.set_state(plugins::shared_enum_member<vantaapi::DeviceStateType>(
        from.state(), vantaapi::DeviceStateType_IsValid, "bluetooth device state"));
    to.set_address(from.address().address());
    to.set_name(from.name());
}

void copy_device_list(const bluetoothmanager::RemoteDeviceList& from,
                      vantaapi::RemoteBluetoothDeviceList& to) {
    for (const bluetoothmanager::RemoteDeviceInfo& device : from.device_list()) {
        copy_device(device, *to.add_device_list());
    }
}

// False for a report that names no failure.
bool copy_error_report(const bluetoothmanager::ErrorReport& from,
                       vantaapi::BluetoothErrorReport& to) {
    switch (from.data_case()) {
        case bluetoothmanager::ErrorReport::kPairError:
            to.set_errortype(vantaapi::BluetoothErrorReport::BTERROR_PAIR_FAILED);
            to.set_address(from.pair_error().address());
            return true;
        case bluetoothmanager::ErrorReport::kConnectError:
            to.set_errortype(vantaapi::BluetoothErrorReport::BTERROR_CONNECT_FAILED);
            to.set_address(from.connect_error().address());
            return true;
        default:
            return false;
    }
}

}  // namespace

BluetoothPlugin::BluetoothPlugin(Executor& executor,
                                 GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                 PluginRegistrar&)
    : BluetoothPlugin(publisher, bluetoothmanager::create_client(executor, 2000ms)) {}

BluetoothPlugin::BluetoothPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                 std::unique_ptr<bluetoothmanager::Client> client)
    : publisher_(publisher), client_(std::move(client)) {
    client_->SetObserver([this](const bluetoothmanager::Event& event) { handle_event(event); },
                         [] {});
}

// The stream's start and the headset's audio state have no API event.
void BluetoothPlugin::handle_event(const bluetoothmanager::Event& event) {
    vantaapi::VantaEvent published;
    switch (event.data_case()) {
        case bluetoothmanager::Event::kStateChanged:
            published.mutable_bluetooth_state_event()->set_state(
                to_api_state(event.state_changed().state()));
            break;
        case bluetoothmanager::Event::kDeviceInfo:
            copy_device(event.device_info(), *published.mutable_bluetooth_device_update());
            break;
        case bluetoothmanager::Event::kErrorReport:
            if (!copy_error_report(event.error_report(),
                                   *published.mutable_bluetooth_error_report())) {
                return;
            }
            break;
        default:
            return;
    }
    publisher_.publish(published);
}

grpc::Status BluetoothPlugin::EnableBluetooth(grpc::ServerContext*, const google::protobuf::Empty*,
                                              vantaapi::RequestStatus* response) {
    return grpc_exception_handler("EnableBluetooth",
                                  [&] { response->set_success(client_->Enable()); });
}

grpc::Status BluetoothPlugin::DisableBluetooth(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RequestStatus* response) {
    return grpc_exception_handler("DisableBluetooth",
                                  [&] { response->set_success(client_->Disable()); });
}

grpc::Status BluetoothPlugin::GetBluetoothState(grpc::ServerContext*,
                                                const google::protobuf::Empty*,
                                                vantaapi::BluetoothState* response) {
    return grpc_exception_handler("GetBluetoothState",
                                  [&] { response->set_state(to_api_state(client_->GetState())); });
}

grpc::Status BluetoothPlugin::StartBluetoothInquiry(grpc::ServerContext*,
                                                    const google::protobuf::Empty*,
                                                    vantaapi::RequestStatus* response) {
    return grpc_exception_handler("StartBluetoothInquiry",
                                  [&] { response->set_success(client_->StartInquiry()); });
}

grpc::Status BluetoothPlugin::StopBluetoothInquiry(grpc::ServerContext*,
                                                   const google::protobuf::Empty*,
                                                   vantaapi::RequestStatus* response) {
    return grpc_exception_handler("StopBluetoothInquiry",
                                  [&] { response->set_success(client_->StopInquiry()); });
}

grpc::Status BluetoothPlugin::GetInquiryResult(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RemoteBluetoothDeviceList* response) {
    return grpc_exception_handler(
        "GetInquiryResult", [&] { copy_device_list(client_->GetInquiryResult(), *response); });
}

grpc::Status BluetoothPlugin::GetBondedDevices(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RemoteBluetoothDeviceList* response) {
    return grpc_exception_handler(
        "GetBondedDevices", [&] { copy_device_list(client_->GetBondedDevices(), *response); });
}

grpc::Status BluetoothPlugin::PairBluetooth(grpc::ServerContext*,
                                            const vantaapi::BluetoothAddress* request,
                                            vantaapi::RequestStatus* response) {
    return grpc_exception_handler(
        "PairBluetooth", [&] { response->set_success(client_->Pair(request->address())); });
}

grpc::Status BluetoothPlugin::UnPairBluetooth(grpc::ServerContext*,
                                              const vantaapi::BluetoothAddress* request,
                                              vantaapi::RequestStatus* response) {
    return grpc_exception_handler(
        "UnPairBluetooth", [&] { response->set_success(client_->UnPair(request->address())); });
}

grpc::Status BluetoothPlugin::ConnectBluetooth(grpc::ServerContext*,
                                               const vantaapi::BluetoothAddress* request,
                                               vantaapi::RequestStatus* response) {
    return grpc_exception_handler("ConnectBluetooth", [&] {
        response->set_success(client_->ConnectHeadset(request->address()));
    });
}

grpc::Status BluetoothPlugin::DisconnectBluetooth(grpc::ServerContext*,
                                                  const vantaapi::BluetoothAddress* request,
                                                  vantaapi::RequestStatus* response) {
    return grpc_exception_handler("DisconnectBluetooth", [&] {
        response->set_success(client_->DisconnectHeadset(request->address()));
    });
}

}  // namespace vanta
