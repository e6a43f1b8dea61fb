#pragma once

#include <string>

#include "clients/bluetoothmanager/bluetooth_client.h"
#include "rpc/client/grpc_client_stub.h"

namespace vanta::bluetoothmanager {

// Stands in for the Bluetooth manager: every command succeeds, the radio is
// off, no device is known and no event is ever delivered.
class ClientStub final : public GrpcObservableClientStub<Client, Event> {
  public:
    bool Enable() override { return true; }
    bool Disable() override { return true; }
    bool StartInquiry() override { return true; }
    bool StopInquiry() override { return true; }
    bool Pair(const std::string& /*address*/) override { return true; }
    bool UnPair(const std::string& /*address*/) override { return true; }
    bool ConnectHeadset(const std::string& /*address*/) override { return true; }
    bool DisconnectHeadset(const std::string& /*address*/) override { return true; }
    bool SetVolume(const std::string& /*address*/, int /*volume*/) override { return true; }
    bool StartService() override { return true; }
    bool StopService() override { return true; }
    BluetoothStateType GetState() override { return BTSTATE_OFF; }
    AudioStateType GetAudioState() override { return BTAUDIO_DISCONNECTED; }
    RemoteDeviceList GetBondedDevices() override { return {}; }
    RemoteDeviceList GetInquiryResult() override { return {}; }
};

}  // namespace vanta::bluetoothmanager
