#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/networkmanager/networkmanager_client.h"
#include "networkmanager.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::networkmanager {

class ClientImpl final : public GrpcClient<NetworkManager, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    std::optional<InterfaceInfo> GetInterfaceInfo(const std::string& interface) override;
    std::optional<ProxyConfig> GetProxyConfig() override;
    std::optional<bool> SetProxyConfig(const ProxyConfigItems& items) override;
    bool SetIpv4Config(const Ipv4Config& config) override;
    bool SetStaticDnsConfig(const DnsConfig& config) override;
    bool ClearStaticDnsConfig() override;
    bool SetVlanConfig(const VlanConfig& config) override;
    VlanConfig GetVlanConfig() override;

  private:
    // The call of `operation`, labelled with the caller.
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::networkmanager
