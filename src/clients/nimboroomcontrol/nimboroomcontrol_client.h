#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "nimboroomcontrol.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::nimboroomcontrol {

// The room control service: the room's volume, its microphone mute and the
// devices that make up the space. Each operation raises the GrpcException of
// a failure; the volume and mute operations answer the service's `success`.
class Client : public GrpcClientBase {
  public:
    virtual bool IncreaseVolume() = 0;
    virtual bool DecreaseVolume() = 0;
    virtual bool SetVolume(std::uint32_t volume) = 0;
    virtual bool MuteMicrophone() = 0;
    virtual bool UnmuteMicrophone() = 0;
    virtual SpaceDeviceInfo GetSpaceInfo() = 0;
};

// A client of the room control service at `endpoint` (the catalogue's
// nimboroomcontrol row: the registry's address for it first, else its socket).
std::unique_ptr<Client> create_nimboroomcontrol_client(const Endpoint& endpoint);

}  // namespace vanta::nimboroomcontrol
