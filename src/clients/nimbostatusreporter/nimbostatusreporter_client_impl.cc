#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

namespace vanta::nimbostatusreporter {

namespace {
using Stub = NimboStatusReporter::Stub;
using clients::call_or_throw;
constexpr std::chrono::milliseconds kRegistryTimeout{500};

// The reporter's request says whether to subscribe, not whether to stop.
SubscriptionRequest subscription_request(bool subscribe) {
    SubscriptionRequest request;
    request.set_subscribe(subscribe);
    return request;
}
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       Executor* executor)
    : ObservableClient(
          address, "nimbostatusreporter", [](const Event& /*event*/) { return false; },
          subscription_request(true), subscription_request(false), executor,
          logging::getLogger("NimboStatusReporterClient")),
      timeout_(timeout),
      logger_(logging::getLogger("NimboStatusReporterClient")) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

bool ClientImpl::SetRefreshTokenStatus(RefreshTokenEvent::Type type) {
    RefreshTokenEvent request;
    request.set_type(type);
    return call_or_throw(stub(), &Stub::SetRefreshTokenStatus, request,
                         call("SetRefreshTokenStatus"))
        .success();
}

CloudConnectivityResponse::ConnectivityState ClientImpl::CheckCloudConnectivity() {
    return call_or_throw(stub(), &Stub::CheckCloudConnectivity, Empty(),
                         call("CheckCloudConnectivity"))
        .connectivity_state();
}

NimboServiceStatus ClientImpl::GetNimboServiceStatus(NimboServiceStatus::ServiceType service) {
    NimboServiceStatus request;
    request.set_service_type(service);
    return call_or_throw(stub(), &Stub::GetNimboServiceStatus, request,
                         call("GetNimboServiceStatus"));
}

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(
        lookup_service_address(kServiceName, kAddress, kRegistryTimeout), timeout, &executor);
}

}  // namespace vanta::nimbostatusreporter
