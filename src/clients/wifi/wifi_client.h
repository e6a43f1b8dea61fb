#pragma once

#include <memory>
#include <optional>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"
#include "wifi.pb.h"

namespace vanta::wifi {

// The Wi-Fi service: the radio, the network configuration, status, statistics
// and scans. Operations that answer std::optional give nothing when the
// service could not answer; the others raise the GrpcException of the failure.
class Client : public GrpcClientBase {
  public:
    virtual bool Enable() = 0;
    virtual bool Disable() = 0;
    virtual bool IsEnabled() = 0;
    virtual bool SetConfig(const ConfigInfo& config) = 0;
    virtual Configuration GetConfig() = 0;
    virtual bool ClearConfig() = 0;
    virtual WifiStatusType GetStatus() = 0;
    virtual std::string GetSupplicantStatus() = 0;
    virtual std::optional<WifiStatistics> GetStatistics() = 0;
    virtual NetworkList GetNetworkList() = 0;
    virtual std::optional<bool> StartScan() = 0;
    virtual std::optional<bool> StopScan() = 0;
    virtual bool IsScanStarted() = 0;
};

// A client of the Wi-Fi service at `endpoint` (the catalogue's wifi row).
std::unique_ptr<Client> create_wifi_service_client(const Endpoint& endpoint);

}  // namespace vanta::wifi
