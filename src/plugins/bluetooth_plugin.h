#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class BluetoothPlugin {
  public:
    BluetoothPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
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
};

}  // namespace vanta
