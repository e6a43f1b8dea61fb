#pragma once

#include <mutex>

#include <google/protobuf/empty.pb.h>

#include "networkmanager.grpc.pb.h"
#include "sim/bus_announcer.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The network manager: the wired interface up with its address from DHCP,
// the Wi-Fi interface down; the address, proxy and VLAN settings it is given
// are kept, and a proxy change is announced as "ProxyConfigEvent" 1 on
// the bus. A scripted reply or failure overrides this behaviour.
class NetworkManagerBackend final : public networkmanager::NetworkManager::Service,
                                    public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using RequestStatus = networkmanager::RequestStatus;

  public:
    grpc::Status GetInterfaceInfo(grpc::ServerContext* context,
                                  const networkmanager::InterfaceInfoRequest* request,
                                  networkmanager::InterfaceInfo* response) override {
        return answer(*context, "GetInterfaceInfo", *request, response, [&] {
            const bool wifi = request->interface() == "wlan0";
            if (!wifi && !request->interface().empty() && request->interface() != "eth0") {
                return grpc::Status(grpc::StatusCode::NOT_FOUND,
                                    "no interface " + request->interface());
            }
            std::lock_guard<std::mutex> lock(mutex_);
            response->set_type(wifi ? networkmanager::WIFI : networkmanager::ETHERNET);
            response->set_interface_state(wifi ? networkmanager::LINK_STATE_DOWN
                                               : networkmanager::LINK_STATE_UP);
            response->set_network_state(wifi ? networkmanager::DISCONNECTED
                                             : networkmanager::CONNECTED);
            response->set_ipv4_address(wifi ? "" : ipv4_address_);
            response->set_mac_address(wifi ? "00:1b:2c:3d:4e:60" : "00:1b:2c:3d:4e:5f");
            return grpc::Status::OK;
        });
    }
    grpc::Status SetProxyConfig(grpc::ServerContext* context,
                                const networkmanager::ProxyConfigItems* request,
                                RequestStatus* response) override {
        return answer(*context, "SetProxyConfig", *request, response, [&] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const auto& item : request->items()) {
                    switch (item.config_item_case()) {
                        case networkmanager::ProxyConfigItem::kUrl:
                            proxy_.set_url(item.url());
                            break;
                        case networkmanager::ProxyConfigItem::kUsername:
                            proxy_.set_username(item.username());
                            break;
                        case networkmanager::ProxyConfigItem::kPassword:
                            proxy_.set_password(item.password());
                            break;
                        case networkmanager::ProxyConfigItem::kMode:
                            proxy_.set_mode(item.mode());
                            break;
                        case networkmanager::ProxyConfigItem::kPacurl:
                            proxy_.set_pacurl(item.pacurl());
                            break;
                        default:
                            break;
                    }
                }
            }
            bus.announce("ProxyConfigEvent", 1, "");
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetProxyConfig(grpc::ServerContext* context, const Empty* request,
                                networkmanager::ProxyConfig* response) override {
        return answer(*context, "GetProxyConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            *response = proxy_;
            return grpc::Status::OK;
        });
    }
    grpc::Status SetIpv4Config(grpc::ServerContext* context,
                               const networkmanager::Ipv4Config* request,
                               RequestStatus* response) override {
        return answer(*context, "SetIpv4Config", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            if (request->method() == networkmanager::Ipv4Config::STATIC) {
                ipv4_address_ = request->ip_address();
            } else {
                ipv4_address_ = kDhcpAddress;
            }
            response->set_success(!ipv4_address_.empty());
            return grpc::Status::OK;
        });
    }
    grpc::Status SetStaticDnsConfig(grpc::ServerContext* context,
                                    const networkmanager::DnsConfig* request,
                                    RequestStatus* response) override {
        return answer(*context, "SetStaticDnsConfig", *request, response, [&] {
            response->set_success(!request->primary_name_server().empty());
            return grpc::Status::OK;
        });
    }
    grpc::Status ClearStaticDnsConfig(grpc::ServerContext* context, const Empty* request,
                                      RequestStatus* response) override {
        return answer(*context, "ClearStaticDnsConfig", *request, response, [&] {
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status SetVlanConfig(grpc::ServerContext* context,
                               const networkmanager::VlanConfig* request,
                               RequestStatus* response) override {
        return answer(*context, "SetVlanConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            vlan_ = *request;
            response->set_success(true);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetVlanConfig(grpc::ServerContext* context, const Empty* request,
                               networkmanager::VlanConfig* response) override {
        return answer(*context, "GetVlanConfig", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            *response = vlan_;
            return grpc::Status::OK;
        });
    }

    BusAnnouncer bus{"networkmanager"};

  private:
    static constexpr char kDhcpAddress[] = "192.168.1.57";

    std::mutex mutex_;
    std::string ipv4_address_ = kDhcpAddress;
    networkmanager::ProxyConfig proxy_ = [] {
        networkmanager::ProxyConfig off;
        off.set_mode(networkmanager::PROXY_OFF);
        return off;
    }();
    networkmanager::VlanConfig vlan_ = [] {
        networkmanager::VlanConfig off;
        off.set_vlan_mode(networkmanager::OFF);
        return off;
    }();
};

}  // namespace vanta::sim
