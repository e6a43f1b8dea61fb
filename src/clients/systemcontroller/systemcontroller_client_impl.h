#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::systemcontroller {

class ClientImpl final : public GrpcClient<SystemController, Client> {
  public:
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger);

    std::optional<StateResponse> GetState() override;
    std::optional<DeviceStateResponse> GetDeviceState() override;
    std::optional<RequestStatus> ClearOobState() override;
    std::optional<RequestStatus> Reboot(bool force) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::systemcontroller
