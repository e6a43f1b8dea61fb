#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/upgrademanager/upgrademanager_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"
#include "upgrademanager.grpc.pb.h"

namespace vanta::upgrademanager {

class UpgradeManagerClientImpl final : public GrpcClient<UpgradeManager, UpgradeManagerClient> {
  public:
    UpgradeManagerClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    std::string GetVersionInfo() override;
    std::string GetUpgradeInfo() override;
    UpgradeState::code GetUpgradeState() override;
    bool InstallLocalPackage(const std::string& package_file_name) override;
    void StartDownload() override;
    void PostponeDownload(int32_t postpone_seconds) override;
    void SetUpgradeLimitHour(int32_t upgrade_limit_hour) override;
    void SetUpgradeChannel(const std::string& channel) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::upgrademanager
