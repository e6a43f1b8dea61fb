#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/nimboroomcontrol/nimboroomcontrol_client.h"
#include "nimboroomcontrol.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::nimboroomcontrol {

class ClientImpl final : public GrpcClient<NimboRoomControl, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    bool IncreaseVolume() override;
    bool DecreaseVolume() override;
    bool SetVolume(std::uint32_t volume) override;
    bool MuteMicrophone() override;
    bool UnmuteMicrophone() override;
    SpaceDeviceInfo GetSpaceInfo() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::nimboroomcontrol
