#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::systemcontroller {

class ClientImpl final
    : public clients::ObservableClient<SystemController, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger, Executor* executor = nullptr);

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
