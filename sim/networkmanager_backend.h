#pragma once

#include <google/protobuf/empty.pb.h>

#include "networkmanager.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The network manager: scripted replies, recorded requests.
class NetworkManagerBackend final : public networkmanager::NetworkManager::Service,
                                    public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetInterfaceInfo, networkmanager::InterfaceInfoRequest,
                             networkmanager::InterfaceInfo)
    VANTA_SCRIPTED_OPERATION(SetProxyConfig, networkmanager::ProxyConfigItems,
                             networkmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetProxyConfig, google::protobuf::Empty, networkmanager::ProxyConfig)
    VANTA_SCRIPTED_OPERATION(SetIpv4Config, networkmanager::Ipv4Config,
                             networkmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(SetStaticDnsConfig, networkmanager::DnsConfig,
                             networkmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(ClearStaticDnsConfig, google::protobuf::Empty,
                             networkmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(SetVlanConfig, networkmanager::VlanConfig,
                             networkmanager::RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetVlanConfig, google::protobuf::Empty, networkmanager::VlanConfig)
};

}  // namespace vanta::sim
