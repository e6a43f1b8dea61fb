#include "plugins/bluetooth_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

BluetoothPlugin::BluetoothPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                 PluginRegistrar&) {}

grpc::Status BluetoothPlugin::EnableBluetooth(grpc::ServerContext*, const google::protobuf::Empty*,
                                              vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::EnableBluetooth");
}

grpc::Status BluetoothPlugin::DisableBluetooth(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::DisableBluetooth");
}

grpc::Status BluetoothPlugin::GetBluetoothState(grpc::ServerContext*,
                                                const google::protobuf::Empty*,
                                                vantaapi::BluetoothState*) {
    return not_available_yet("BluetoothPlugin::GetBluetoothState");
}

grpc::Status BluetoothPlugin::StartBluetoothInquiry(grpc::ServerContext*,
                                                    const google::protobuf::Empty*,
                                                    vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::StartBluetoothInquiry");
}

grpc::Status BluetoothPlugin::StopBluetoothInquiry(grpc::ServerContext*,
                                                   const google::protobuf::Empty*,
                                                   vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::StopBluetoothInquiry");
}

grpc::Status BluetoothPlugin::GetInquiryResult(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RemoteBluetoothDeviceList*) {
    return not_available_yet("BluetoothPlugin::GetInquiryResult");
}

grpc::Status BluetoothPlugin::GetBondedDevices(grpc::ServerContext*, const google::protobuf::Empty*,
                                               vantaapi::RemoteBluetoothDeviceList*) {
    return not_available_yet("BluetoothPlugin::GetBondedDevices");
}

grpc::Status BluetoothPlugin::PairBluetooth(grpc::ServerContext*, const vantaapi::BluetoothAddress*,
                                            vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::PairBluetooth");
}

grpc::Status BluetoothPlugin::UnPairBluetooth(grpc::ServerContext*,
                                              const vantaapi::BluetoothAddress*,
                                              vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::UnPairBluetooth");
}

grpc::Status BluetoothPlugin::ConnectBluetooth(grpc::ServerContext*,
                                               const vantaapi::BluetoothAddress*,
                                               vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::ConnectBluetooth");
}

grpc::Status BluetoothPlugin::DisconnectBluetooth(grpc::ServerContext*,
                                                  const vantaapi::BluetoothAddress*,
                                                  vantaapi::RequestStatus*) {
    return not_available_yet("BluetoothPlugin::DisconnectBluetooth");
}

}  // namespace vanta
