#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "bluetoothmanager.pb.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::bluetoothmanager {

// The Bluetooth manager backend: radio, inquiry, pairing and headsets.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual bool Enable() = 0;
    virtual bool Disable() = 0;
    virtual bool StartInquiry() = 0;
    virtual bool StopInquiry() = 0;
    virtual bool Pair(const std::string& address) = 0;
    virtual bool UnPair(const std::string& address) = 0;
    virtual bool ConnectHeadset(const std::string& address) = 0;
    virtual bool DisconnectHeadset(const std::string& address) = 0;
    virtual bool SetVolume(const std::string& address, int volume) = 0;
    virtual bool StartService() = 0;
    virtual bool StopService() = 0;
    virtual BluetoothStateType GetState() = 0;
    virtual AudioStateType GetAudioState() = 0;
    virtual RemoteDeviceList GetBondedDevices() = 0;
    virtual RemoteDeviceList GetInquiryResult() = 0;
};

// The device's Bluetooth manager is never contacted: the client is the
// in-process substitute, which answers at once.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::bluetoothmanager
