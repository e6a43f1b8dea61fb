#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "nimboroomcontrol.pb.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::nimboroomcontrol {

inline const std::string kServiceName = "Nimbo Room Service";
inline const std::string kAddress = "unix:/tmp/nimboroomservice";
inline constexpr std::chrono::milliseconds kDefaultTimeout{2000};

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

// A client of the address the registry holds for "Nimbo Room Service" (asked
// for at most 500 ms), else of "unix:/tmp/nimboroomservice"; every call has
// the deadline `timeout`.
std::unique_ptr<Client> create_nimboroomcontrol_client(
    std::chrono::milliseconds timeout = kDefaultTimeout);

}  // namespace vanta::nimboroomcontrol
