#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "krellconfigmanager.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::krellconfigmanager {

class ClientImpl final
    : public clients::ObservableClient<KrellConfigManager, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    KRELLDeviceConfigValues GetKRELLDeviceConfigValues() override;
    std::optional<std::vector<std::string>> GetKRELLTFTPAddress() override;
    std::optional<KRELLDeviceConfigValue> GetKRELLDeviceConfigValue(
        const std::string& name, const std::string& value) override;
    std::optional<bool> SetKRELLAutoConfig(bool enable) override;
    void StartOnPremUpgrade() override;
    void PostponeOnPremUpgrade(int32_t postpone_seconds) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::krellconfigmanager
