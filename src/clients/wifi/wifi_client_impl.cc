#include "clients/wifi/wifi_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::wifi {

namespace {
using Stub = Wifi::Stub;

std::optional<bool> success_of(const std::optional<RequestStatus>& reply) {
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("WifiClient")) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

bool ClientImpl::Enable() {
    return clients::call_or_throw(stub(), &Stub::Enable, Empty(), call("Enable")).success();
}

bool ClientImpl::Disable() {
    return clients::call_or_throw(stub(), &Stub::Disable, Empty(), call("Disable")).success();
}

bool ClientImpl::IsEnabled() {
    return clients::call_or_throw(stub(), &Stub::IsEnabled, Empty(), call("IsEnabled")).enabled();
}

bool ClientImpl::SetConfig(const ConfigInfo& config) {
    return clients::call_or_throw(stub(), &Stub::SetConfig, config, call("SetConfig")).success();
}

Configuration ClientImpl::GetConfig() {
    return clients::call_or_throw(stub(), &Stub::GetConfig, Empty(), call("GetConfig"));
}

bool ClientImpl::ClearConfig() {
    return clients::call_or_throw(stub(), &Stub::ClearConfig, Empty(), call("ClearConfig"))
        .success();
}

WifiStatusType ClientImpl::GetStatus() {
    return clients::call_or_throw(stub(), &Stub::GetStatus, Empty(), call("GetStatus")).status();
}

std::string ClientImpl::GetSupplicantStatus() {
    return clients::call_or_throw(stub(), &Stub::GetSupplicantStatus, Empty(),
                                  call("GetSupplicantStatus"))
        .status();
}

std::optional<WifiStatistics> ClientImpl::GetStatistics() {
    return clients::call_or_empty(stub(), &Stub::GetStatistics, Empty(), call("GetStatistics"));
}

NetworkList ClientImpl::GetNetworkList() {
    return clients::call_or_throw(stub(), &Stub::GetNetworkList, Empty(), call("GetNetworkList"));
}

std::optional<bool> ClientImpl::StartScan() {
    return success_of(clients::call_or_empty(stub(), &Stub::StartScan, google::protobuf::Empty(),
                                             call("StartScan")));
}

std::optional<bool> ClientImpl::StopScan() {
    return success_of(clients::call_or_empty(stub(), &Stub::StopScan, google::protobuf::Empty(),
                                             call("StopScan")));
}

bool ClientImpl::IsScanStarted() {
    return clients::call_or_throw(stub(), &Stub::IsScanStarted, google::protobuf::Empty(),
                                  call("IsScanStarted"))
        .started();
}

std::unique_ptr<Client> create_wifi_service_client(const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint);
}

}  // namespace vanta::wifi
