#pragma once

#include <memory>
#include <optional>
#include <string>

#include "networkmanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::networkmanager {

// The network manager: interfaces, proxy, IPv4, DNS and VLAN settings.
// Operations that answer std::optional give nothing when the manager could
// not answer; the others raise the GrpcException of the failure. Every call
// carries the caller label (set_caller) as the metadata "caller".
class Client : public GrpcClientBase {
  public:
    // The state of one interface ("eth0").
    virtual std::optional<InterfaceInfo> GetInterfaceInfo(const std::string& interface) = 0;
    virtual std::optional<ProxyConfig> GetProxyConfig() = 0;
    virtual std::optional<bool> SetProxyConfig(const ProxyConfigItems& items) = 0;
    virtual bool SetIpv4Config(const Ipv4Config& config) = 0;
    virtual bool SetStaticDnsConfig(const DnsConfig& config) = 0;
    virtual bool ClearStaticDnsConfig() = 0;
    virtual bool SetVlanConfig(const VlanConfig& config) = 0;
    virtual VlanConfig GetVlanConfig() = 0;
};

}  // namespace vanta::networkmanager

namespace vanta {

// A client of the network manager at `endpoint` (the catalogue's networkmanager
// row).
std::unique_ptr<networkmanager::Client> create_networkmanager_client(const Endpoint& endpoint);

}  // namespace vanta
