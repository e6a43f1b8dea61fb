#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "clients/common/event_subscription.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "networkstatusreporter.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::networkstatusreporter {

class ClientImpl final : public GrpcClient<NetworkStatusReporter, Client> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready) override;
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready,
                     const std::function<void()>& on_closed) override;
    void RemoveObserver() override;

    std::optional<NetworkStatusReport> GetNetworkStatusReport() override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    clients::EventSubscription<SubscriptionRequest, Event> events_;
};

}  // namespace vanta::networkstatusreporter
