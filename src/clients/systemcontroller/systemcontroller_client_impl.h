#pragma once

#include <functional>
#include <string>

#include "clients/common/observing_client.h"
#include "clients/systemcontroller/systemcontroller_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::systemcontroller {

class ClientImpl final
    : public clients::ObservingClient<SystemController, Client, SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const Endpoint& endpoint, logging::Logger& logger, Executor* executor = nullptr);
    ~ClientImpl() override;

    std::optional<StateResponse> GetState() override;
    std::optional<DeviceStateResponse> GetDeviceState() override;
    std::optional<RequestStatus> ClearOobState() override;
    std::optional<RequestStatus> Reboot(bool force) override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::systemcontroller
