#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clients/common/observing_client.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "krellconfigmanager.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::krellconfigmanager {

class ClientImpl final : public clients::ObservingClient<KrellConfigManager, Client,
                                                         SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

    KRELLDeviceConfigValues GetKRELLDeviceConfigValues() override;
    std::optional<std::vector<std::string>> GetKRELLTFTPAddress() override;
    std::optional<KRELLDeviceConfigValue> GetKRELLDeviceConfigValue(
        const std::string& name, const std::string& value) override;
    std::optional<bool> SetKRELLAutoConfig(bool enable) override;
    void StartOnPremUpgrade() override;
    void PostponeOnPremUpgrade(int32_t postpone_seconds) override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::krellconfigmanager
