// Operations served by the network status reporter, the network manager, the
// Wi-Fi and access-point services and the media session.

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "api/enum_by_number.h"
#include "api/handler_kinds.h"
#include "api/vantaapi_impl.h"

namespace vanta {

namespace {

using ReporterReport = networkstatusreporter::NetworkStatusReport;
using ApiReport = vantaapi::NetworkStatusReport;

ApiReport::NetworkError to_api_network_error(ReporterReport::NetworkError error) {
    static const std::pair<ReporterReport::NetworkError, ApiReport::NetworkError> kErrors[] = {
        {ReporterReport::NO_ERROR, ApiReport::NO_ERROR},
        {ReporterReport::UNKNOWN_ERROR, ApiReport::UNKNOWN_ERROR},
        {ReporterReport::NO_ETH0_LINK, ApiReport::NO_ETH0_LINK},
        {ReporterReport::WIFI_AUTHENTICATION_FAILED, ApiReport::WIFI_AUTHENTICATION_FAILED},
        {ReporterReport::WIFI_SIGNAL_NO_NETWORK, ApiReport::WIFI_SIGNAL_NO_NETWORK},
        {ReporterReport::NO_WIFI_CREDENTIALS, ApiReport::NO_WIFI_CREDENTIALS},
        {ReporterReport::IEEE8021X_FAILURE, ApiReport::IEEE8021X_FAILURE},
        {ReporterReport::LINK_UP_NO_IP, ApiReport::LINK_UP_NO_IP},
    };
    for (const auto& [reported, api] : kErrors) {
        if (reported == error) {
            return api;
        }
    }
    return ApiReport::UNKNOWN_ERROR;
}

void copy_network_status_report(const ReporterReport& report, ApiReport& response) {
    response.set_state(api::by_number<ApiReport::NetworkConnectivity>(
        report.state(), ApiReport::NetworkConnectivity_IsValid));
    response.set_active_interface(api::by_number<vantaapi::NetworkInterface>(
        report.active_interface(), vantaapi::NetworkInterface_IsValid));
    response.set_error(to_api_network_error(report.error()));
    response.set_ipaddress(report.ipaddress());
    response.set_apmode(report.apmode());
    response.set_ssid(report.ssid());
    response.set_subnet_mask(report.subnet_mask());
    response.set_default_gateway(report.default_gateway());
    response.set_ieee8021xstatus(api::by_number<ApiReport::IEEE8021xStatus>(
        report.ieee8021xstatus(), ApiReport::IEEE8021xStatus_IsValid));
    response.set_static_configured(report.static_configured());
    response.set_dns_mode(
        api::by_number<vantaapi::DnsMode>(report.dns_mode(), vantaapi::DnsMode_IsValid));
    response.set_dns_domain_name(report.dns_domain_name());
    response.set_dns_primary_server(report.dns_primary_server());
    response.set_dns_secondary_server(report.dns_secondary_server());
    response.set_dns_tertiary_server(report.dns_tertiary_server());
    response.set_proxy_url(report.proxy_url());
    response.set_proxy_username(report.proxy_username());
    response.set_proxy_password(report.proxy_password());
    response.set_proxy_mode(
        api::by_number<vantaapi::ProxyMode>(report.proxy_mode(), vantaapi::ProxyMode_IsValid));
    response.set_ieee8021xmethod(api::by_number<ApiReport::IEEE8021xMethod>(
        report.ieee8021xmethod(), ApiReport::IEEE8021xMethod_IsValid));
    response.set_vlan_mode(
        api::by_number<vantaapi::VlanMode>(report.vlan_mode(), vantaapi::VlanMode_IsValid));
    response.set_vlan_id(report.vlan_id());
    response.set_dhcp_tftp_addresses(report.dhcp_tftp_addresses());
    response.set_proxy_pacurl(report.proxy_pacurl());
    response.set_ipv4_address_duplicated(report.ipv4_address_duplicated());
}

// The network manager takes a proxy configuration as a list of items, one per
// setting; every setting of the request is sent, so an empty one clears it.
networkmanager::ProxyConfigItems to_proxy_items(const vantaapi::ProxyConfig& config) {
    networkmanager::ProxyConfigItems items;
    items.add_items()->set_url(config.url());
    items.add_items()->set_username(config.username());
    items.add_items()->set_password(config.password());
    items.add_items()->set_mode(api::by_number<networkmanager::ProxyMode>(
        config.mode(), networkmanager::ProxyMode_IsValid));
    items.add_items()->set_pacurl(config.pacurl());
    return items;
}

}  // namespace

grpc::Status VantaApiImpl::GetNetworkStatusReport(grpc::ServerContext* context,
                                                  const google::protobuf::Empty* /*request*/,
                                                  vantaapi::NetworkStatusReport* response) {
    static const char* const kOperation = "GetNetworkStatusReport";
    return serve(context, kOperation, [&] {
        const auto report = networkstatusreporter_client_->GetNetworkStatusReport();
        if (!report) {
            return grpc::Status(grpc::StatusCode::UNAVAILABLE,
                                "GetNetworkStatusReport networkstatusreporter client FAILED");
        }
        copy_network_status_report(*report, *response);
        // Whether the cable is in comes from the network manager; without its
        // answer the report goes out with ethernet_up false.
        std::optional<networkmanager::InterfaceInfo> eth0;
        try {
            eth0 = networkmanager_client_->GetInterfaceInfo("eth0");
        } catch (const std::runtime_error&) {
            eth0.reset();
        }
        if (!eth0) {
            logger_.error("{}: failed to call GetInterfaceInfo", kOperation);
        } else {
            const bool running = eth0->interface_state() == networkmanager::LINK_STATE_UP;
            logger_.info("{}: ethernet {}", kOperation, running ? "running" : "not-running");
            response->set_ethernet_up(running);
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetProxyInfo(grpc::ServerContext* context,
                                        const google::protobuf::Empty* /*request*/,
                                        vantaapi::ProxyInfo* response) {
    return serve(context, "GetProxyInfo", [&] {
        return api::answer_or_unavailable(
            networkmanager_client_->GetProxyConfig(), "GetProxyInfo: networkmanager client FAILED",
            [&](const networkmanager::ProxyConfig& config) {
                response->set_mode(api::by_number<vantaapi::ProxyMode>(
                    config.mode(), vantaapi::ProxyMode_IsValid));
                response->set_url(config.url());
                response->set_pacurl(config.pacurl());
                response->set_username(config.username());
                response->set_password(config.password());
            });
    });
}

grpc::Status VantaApiImpl::SetProxyConfig(grpc::ServerContext* context,
                                          const vantaapi::ProxyConfig* request,
                                          vantaapi::RequestStatus* response) {
    return serve(context, "SetProxyConfig", [&] {
        return api::answer_or_unavailable(
            networkmanager_client_->SetProxyConfig(to_proxy_items(*request)),
            "SetProxyConfig: networkmanager SetProxyUrl FAILED",
            [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::SetIpv4Config(grpc::ServerContext* context,
                                         const vantaapi::Ipv4Config* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "SetIpv4Config", [&] {
        networkmanager::Ipv4Config config;
        config.set_interface(api::by_number<networkmanager::InterfaceType>(
            request->interface(), networkmanager::InterfaceType_IsValid));
        config.set_method(api::by_number<networkmanager::Ipv4Config::Method>(
            request->method(), networkmanager::Ipv4Config::Method_IsValid));
        config.set_ip_address(request->ip_address());
        config.set_subnet_mask(request->subnet_mask());
        config.set_default_gateway(request->default_gateway());
        bool success = false;
        const grpc::Status status = api::guarded(
            "SetIpv4Config", [&] { success = networkmanager_client_->SetIpv4Config(config); });
        response->set_success(success);
        return status;
    });
}

grpc::Status VantaApiImpl::SetStaticDnsConfig(grpc::ServerContext* context,
                                              const vantaapi::DnsConfig* request,
                                              vantaapi::RequestStatus* response) {
    return serve(context, "SetStaticDnsConfig", [&] {
        // Static name servers are the manual DNS mode.
        networkmanager::DnsConfig config;
        config.set_dns_mode(networkmanager::DNS_MANUAL);
        config.set_domain_name(request->domain_name());
        config.set_primary_name_server(request->primary_name_server());
        config.set_secondary_name_server(request->secondary_name_server());
        config.set_tertiary_name_server(request->tertiary_name_server());
        bool success = false;
        const grpc::Status status = api::guarded("SetStaticDnsConfig", [&] {
            success = networkmanager_client_->SetStaticDnsConfig(config);
        });
        response->set_success(success);
        return status;
    });
}

grpc::Status VantaApiImpl::ClearStaticDnsConfig(grpc::ServerContext* context,
                                                const google::protobuf::Empty* /*request*/,
                                                vantaapi::RequestStatus* response) {
    return serve(context, "ClearStaticDnsConfig", [&] {
        bool success = false;
        const grpc::Status status = api::guarded("ClearStaticDnsConfig", [&] {
            success = networkmanager_client_->ClearStaticDnsConfig();
        });
        response->set_success(success);
        return status;
    });
}

grpc::Status VantaApiImpl::SetVlanConfig(grpc::ServerContext* context,
                                         const vantaapi::VlanConfig* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "SetVlanConfig", [&] {
        networkmanager::VlanConfig config;
        config.set_vlan_mode(api::by_number<networkmanager::VlanMode>(
            request->vlan_mode(), networkmanager::VlanMode_IsValid));
        config.set_vlan_id(request->vlan_id());
        bool success = false;
        const grpc::Status status = api::guarded(
            "SetVlanConfig", [&] { success = networkmanager_client_->SetVlanConfig(config); });
        response->set_success(success);
        return status;
    });
}

grpc::Status VantaApiImpl::GetVlanConfig(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::VlanConfig* response) {
    return serve(context, "GetVlanConfig", [&] {
        networkmanager::VlanConfig config;
        const grpc::Status status = api::guarded(
            "GetVlanConfig", [&] { config = networkmanager_client_->GetVlanConfig(); });
        response->set_vlan_mode(
            api::by_number<vantaapi::VlanMode>(config.vlan_mode(), vantaapi::VlanMode_IsValid));
        response->set_vlan_id(config.vlan_id());
        return status;
    });
}

grpc::Status VantaApiImpl::EnableWifi(grpc::ServerContext* context,
                                      const google::protobuf::Empty* /*request*/,
                                      vantaapi::RequestStatus* response) {
    return serve(context, "EnableWifi", [&] {
        response->set_success(wifi_client_->Enable());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::DisableWifi(grpc::ServerContext* context,
                                       const google::protobuf::Empty* /*request*/,
                                       vantaapi::RequestStatus* response) {
    return serve(context, "DisableWifi", [&] {
        response->set_success(wifi_client_->Disable());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::IsWifiEnabled(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::WifiEnabled* response) {
    return serve(context, "IsWifiEnabled", [&] {
        response->set_enabled(wifi_client_->IsEnabled());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SetWifiConfig(grpc::ServerContext* context,
                                         const vantaapi::WifiConfigInfo* request,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "SetWifiConfig", [&] {
        response->set_success(wifi_client_->SetConfig(WifiPlugin::map_wifi_config_info(*request)));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetWifiConfig(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::WifiConfiguration* response) {
    return serve(context, "GetWifiConfig", [&] {
        const wifi::Configuration config = wifi_client_->GetConfig();
        response->set_ssid(config.ssid());
        response->set_frequency_band(WifiPlugin::map_wifi_frequency_band(config.frequency_band()));
        response->set_security_method(
            WifiPlugin::map_wifi_security_method(config.security_method()));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::ClearWifiConfig(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::RequestStatus* response) {
    return serve(context, "ClearWifiConfig", [&] {
        response->set_success(wifi_client_->ClearConfig());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetWifiStatus(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::WifiStatus* response) {
    return serve(context, "GetWifiStatus", [&] {
        response->set_status(WifiPlugin::map_wifi_status(wifi_client_->GetStatus()));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetWifiSupplicantStatus(grpc::ServerContext* context,
                                                   const google::protobuf::Empty* /*request*/,
                                                   vantaapi::SupplicantStatus* response) {
    return serve(context, "GetWifiSupplicantStatus", [&] {
        response->set_status(wifi_client_->GetSupplicantStatus());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetWifiSTAStatistics(grpc::ServerContext* context,
                                                const google::protobuf::Empty* /*request*/,
                                                vantaapi::WifiSTAStatistics* response) {
    return serve(context, "GetWifiSTAStatistics", [&] {
        return api::answer_or_unavailable(
            wifi_client_->GetStatistics(), "GetWifiSTAStatistics wifid client FAILED",
            [&](const wifi::WifiStatistics& statistics) {
                response->set_tx_bytes(statistics.tx_bytes());
                response->set_rx_bytes(statistics.rx_bytes());
                response->set_tx_pkts(statistics.tx_pkts());
                response->set_rx_pkts(statistics.rx_pkts());
                response->set_rx_pkts_dropped(statistics.rx_pkts_dropped());
                response->set_tx_failed(statistics.failed());
                response->set_tx_retries(statistics.retries());
                response->set_connected_time(statistics.connected_time());
                response->set_inactive_time(statistics.inactive_time());
                // The driver reports the signal in dBm, a negative number
                // carried in an unsigned field.
                response->set_signal(static_cast<int32_t>(statistics.signal()));
            });
    });
}

grpc::Status VantaApiImpl::GetWifiNetworkList(grpc::ServerContext* context,
                                              const google::protobuf::Empty* /*request*/,
                                              vantaapi::WifiNetworkList* response) {
    return serve(context, "GetWifiNetworkList", [&] {
        const wifi::NetworkList networks = wifi_client_->GetNetworkList();
        for (const wifi::NetworkInfo& network : networks.network_list()) {
            vantaapi::WifiNetworkInfo* info = response->add_network_list();
            info->set_ssid(network.ssid());
            info->set_flags(network.flags());
            info->set_rssi(network.rssi());
            info->set_frequency(network.frequency());
            info->set_bssid(network.bssid());
        }
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::IsAPModeEnabled(grpc::ServerContext* context,
                                           const google::protobuf::Empty* /*request*/,
                                           vantaapi::APModeEnabled* response) {
    return serve(context, "IsAPModeEnabled", [&] {
        response->set_enabled(accesspoint_client_->GetAPModeState() == accesspoint::ENABLED);
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SetAPModeEnabled(grpc::ServerContext* context,
                                            const vantaapi::APModeEnabled* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "SetAPModeEnabled", [&] {
        response->set_success(accesspoint_client_->SetAPModeState(
            request->enabled() ? accesspoint::ENABLED : accesspoint::DISABLED));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::GetLocalAPConfig(grpc::ServerContext* context,
                                            const google::protobuf::Empty* /*request*/,
                                            vantaapi::LocalAPConfiguration* response) {
    return serve(context, "GetLocalAPConfig", [&] {
        const accesspoint::LocalAPConfiguration config = accesspoint_client_->GetLocalAPConfig();
        response->set_ssid(config.ssid());
        response->set_passphrase(config.passphrase());
        response->set_ip_address(config.ip_address());
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::SetLocalAPConfig(grpc::ServerContext* context,
                                            const vantaapi::LocalAPConfiguration* request,
                                            vantaapi::RequestStatus* response) {
    return serve(context, "SetLocalAPConfig", [&] {
        accesspoint::LocalAPConfiguration config;
        config.set_ssid(request->ssid());
        config.set_passphrase(request->passphrase());
        config.set_ip_address(request->ip_address());
        response->set_success(accesspoint_client_->SetLocalAPConfig(config));
        return grpc::Status::OK;
    });
}

grpc::Status VantaApiImpl::StartWifiScan(grpc::ServerContext* context,
                                         const google::protobuf::Empty* /*request*/,
                                         vantaapi::RequestStatus* response) {
    return serve(context, "StartWifiScan", [&] {
        return api::answer_or_unavailable(wifi_client_->StartScan(),
                                          "StartWifiScan wifid client FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::StopWifiScan(grpc::ServerContext* context,
                                        const google::protobuf::Empty* /*request*/,
                                        vantaapi::RequestStatus* response) {
    return serve(context, "StopWifiScan", [&] {
        return api::answer_or_unavailable(wifi_client_->StopScan(),
                                          "StopWifiScan wifid client FAILED",
                                          [&](bool ok) { response->set_success(ok); });
    });
}

grpc::Status VantaApiImpl::IsWifiScanStarted(grpc::ServerContext* context,
                                             const google::protobuf::Empty* /*request*/,
                                             vantaapi::WifiScanStarted* response) {
    return serve(context, "IsWifiScanStarted", [&] {
        bool started = false;
        const grpc::Status status =
            api::guarded("IsWifiScanStarted", [&] { started = wifi_client_->IsScanStarted(); });
        response->set_started(started);
        return status;
    });
}

grpc::Status VantaApiImpl::SubscribeRemoteVideo(grpc::ServerContext* context,
                                                const vantaapi::SubRemoteVideo* request,
                                                vantaapi::RequestStatus* response) {
    return serve(context, "SubscribeRemoteVideo", [&] {
        mediasession::SubRemoteVideo subscription;
        subscription.set_counts(request->counts());
        subscription.set_all(api::by_number<mediasession::VideoQualityType>(
            request->all(), mediasession::VideoQualityType_IsValid));
        subscription.set_active(api::by_number<mediasession::VideoQualityType>(
            request->active(), mediasession::VideoQualityType_IsValid));
        bool success = false;
        const grpc::Status status = api::guarded("SubscribeRemoteVideo", [&] {
            success = mediasession_client_->SubscribeRemoteVideo(subscription);
        });
        response->set_success(success);
        return status;
    });
}

grpc::Status VantaApiImpl::UnSubscribeRemoteVideo(grpc::ServerContext* context,
                                                  const vantaapi::UnSubRemoteVideo* request,
                                                  vantaapi::RequestStatus* response) {
    return serve(context, "UnSubscribeRemoteVideo", [&] {
        const std::vector<uint32_t> virtual_ids(request->virtual_id().begin(),
                                                request->virtual_id().end());
        bool success = false;
        const grpc::Status status = api::guarded("UnSubscribeRemoteVideo", [&] {
            success = mediasession_client_->UnSubscribeRemoteVideo(virtual_ids);
        });
        response->set_success(success);
        return status;
    });
}

}  // namespace vanta
