#pragma once

#include <functional>
#include <string>

#include "clients/common/observing_client.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "nimbostatusreporter.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimbostatusreporter {

class ClientImpl final : public clients::ObservingClient<NimboStatusReporter, Client,
                                                         SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

    bool SetRefreshTokenStatus(RefreshTokenEvent::Type type) override;
    CloudConnectivityResponse::ConnectivityState CheckCloudConnectivity() override;
    NimboServiceStatus GetNimboServiceStatus(NimboServiceStatus::ServiceType service) override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::nimbostatusreporter
