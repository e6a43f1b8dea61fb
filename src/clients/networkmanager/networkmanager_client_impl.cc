#include "clients/networkmanager/networkmanager_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::networkmanager {

namespace {
const std::string kAddress = "unix:/tmp/networkmanager_service";
const std::string kServiceName = "NetworkManager";
const std::string kCallerKey = "caller";
// The network manager answers from its own state; two seconds covers a busy
// device.
constexpr std::chrono::milliseconds kTimeout = 2000ms;
using Stub = NetworkManager::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout)
    : GrpcClient(address), timeout_(timeout), logger_(logging::getLogger(kServiceName)) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_,
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
                                  call("GetProxyConfig"));
}

std::optional<bool> ClientImpl::SetProxyConfig(const ProxyConfigItems& items) {
    const auto reply =
        clients::call_or_empty(stub(), &Stub::SetProxyConfig, items, call("SetProxyConfig"));
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

std::unique_ptr<networkmanager::Client> create_networkmanager_client() {
    return std::make_unique<networkmanager::ClientImpl>(networkmanager::kAddress,
                                                        networkmanager::kTimeout);
}

}  // namespace vanta
