#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clients/common/unary_call.h"
#include "clients/krellconfigmanager/krellconfigmanager_client.h"
#include "krellconfigmanager.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::krellconfigmanager {

class ClientImpl final : public GrpcClient<KrellConfigManager, Client> {
  public:
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout);

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
