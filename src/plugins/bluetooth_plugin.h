#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include <memory>

#include "clients/bluetoothmanager/bluetooth_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The Bluetooth radio, inquiry, pairing and headsets, through the Bluetooth
// manager's client; the manager's state, device and error reports become
// Bluetooth events (published on the client's stream thread).
class BluetoothPlugin {
  public:
    BluetoothPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
    // The same around `client`.
    BluetoothPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    std::unique_ptr<bluetoothmanager::Client> client);
    BluetoothPlugin(const BluetoothPlugin&) = delete;
    BluetoothPlugin& operator=(const BluetoothPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status EnableBluetooth(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::RequestStatus* response);
    grpc::Status DisableBluetooth(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RequestStatus* response);
    grpc::Status GetBluetoothState(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::BluetoothState* response);
    grpc::Status StartBluetoothInquiry(grpc::ServerContext* context,
                                       const google::protobuf::Empty* request,
                                       vantaapi::RequestStatus* response);
    grpc::Status StopBluetoothInquiry(grpc::ServerContext* context,
                                      const google::protobuf::Empty* request,
                                      vantaapi::RequestStatus* response);
    grpc::Status GetInquiryResult(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RemoteBluetoothDeviceList* response);
    grpc::Status GetBondedDevices(grpc::ServerContext* context,
                                  const google::protobuf::Empty* request,
                                  vantaapi::RemoteBluetoothDeviceList* response);
    grpc::Status PairBluetooth(grpc::ServerContext* context,
                               const vantaapi::BluetoothAddress* request,
                               vantaapi::RequestStatus* response);
    grpc::Status UnPairBluetooth(grpc::ServerContext* context,
                                 const vantaapi::BluetoothAddress* request,
                                 vantaapi::RequestStatus* response);
    grpc::Status ConnectBluetooth(grpc::ServerContext* context,
                                  const vantaapi::BluetoothAddress* request,
                                  vantaapi::RequestStatus* response);
    grpc::Status DisconnectBluetooth(grpc::ServerContext* context,
                                     const vantaapi::BluetoothAddress* request,
                                     vantaapi::RequestStatus* response);

  private:
    void handle_event(const bluetoothmanager::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<bluetoothmanager::Client> client_;
};

}  // namespace vanta
