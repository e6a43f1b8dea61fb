#pragma once

#include <functional>
#include <optional>
#include <string>

#include "clients/common/observing_client.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "networkstatusreporter.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::networkstatusreporter {

class ClientImpl final : public clients::ObservingClient<NetworkStatusReporter, Client,
                                                         SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

    std::optional<NetworkStatusReport> GetNetworkStatusReport() override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::networkstatusreporter
