#include "clients/networkmanager/networkmanager_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::networkmanager {

namespace {
const std::string kCallerKey = "caller";
using Stub = NetworkManager::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger(endpoint.service_name)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_,
            [caller = get_caller()](grpc::ClientContext& context) {
                if (!caller.empty()) {
                    context.AddMetadata(kCallerKey, caller);
                }
            }};
}

std::optional<InterfaceInfo> ClientImpl::GetInterfaceInfo(const std::string& interface) {
    InterfaceInfoRequest request;
    request.set_interface(interface);
    return clients::call_or_empty(stub(), &Stub::GetInterfaceInfo, request,
                                  call("GetInterfaceInfo"));
}

std::optional<ProxyConfig> ClientImpl::GetProxyConfig() {
    return clients::call_or_empty(stub(), &Stub::GetProxyConfig, google::protobuf::Empty(),
                                  clients::with_personal_values(call("GetProxyConfig")));
}

std::optional<bool> ClientImpl::SetProxyConfig(const ProxyConfigItems& items) {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::SetProxyConfig, items,
                               clients::with_personal_values(call("SetProxyConfig")));
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}

bool ClientImpl::SetIpv4Config(const Ipv4Config& config) {
    return clients::call_or_throw(stub(), &Stub::SetIpv4Config, config, call("SetIpv4Config"))
        .success();
}

bool ClientImpl::SetStaticDnsConfig(const DnsConfig& config) {
    return clients::call_or_throw(stub(), &Stub::SetStaticDnsConfig, config,
                                  call("SetStaticDnsConfig"))
        .success();
}

bool ClientImpl::ClearStaticDnsConfig() {
    return clients::call_or_throw(stub(), &Stub::ClearStaticDnsConfig, google::protobuf::Empty(),
                                  call("ClearStaticDnsConfig"))
        .success();
}

bool ClientImpl::SetVlanConfig(const VlanConfig& config) {
    return clients::call_or_throw(stub(), &Stub::SetVlanConfig, config, call("SetVlanConfig"))
        .success();
}

VlanConfig ClientImpl::GetVlanConfig() {
    return clients::call_or_throw(stub(), &Stub::GetVlanConfig, google::protobuf::Empty(),
                                  call("GetVlanConfig"));
}

}  // namespace vanta::networkmanager

namespace vanta {

std::unique_ptr<networkmanager::Client> create_networkmanager_client(const Endpoint& endpoint) {
    return std::make_unique<networkmanager::ClientImpl>(endpoint);
}

}  // namespace vanta
