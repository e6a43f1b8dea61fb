#pragma once

#include <functional>
#include <optional>
#include <string>

#include "clients/common/observing_client.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client.h"
#include "nimboconfigmanager.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimboconfigmanager {

class ClientImpl final
    : public clients::ObservingClient<Configuration, Client, SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

    std::optional<AccountInfo> GetAccountInfo() override;
    std::optional<AccountInfo> GetSharedAccountInfo() override;
    std::optional<ServiceMap> GetServiceMap() override;
    std::string GetPairingId() override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::nimboconfigmanager
