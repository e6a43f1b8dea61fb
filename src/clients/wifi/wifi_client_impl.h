#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/wifi/wifi_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"
#include "wifi.grpc.pb.h"

namespace vanta::wifi {

class ClientImpl final : public GrpcClient<Wifi, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    bool Enable() override;
    bool Disable() override;
    bool IsEnabled() override;
    bool SetConfig(const ConfigInfo& config) override;
    Configuration GetConfig() override;
    bool ClearConfig() override;
    WifiStatusType GetStatus() override;
    std::string GetSupplicantStatus() override;
    std::optional<WifiStatistics> GetStatistics() override;
    NetworkList GetNetworkList() override;
    std::optional<bool> StartScan() override;
    std::optional<bool> StopScan() override;
    bool IsScanStarted() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::wifi
