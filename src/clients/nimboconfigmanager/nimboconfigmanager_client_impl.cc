#include "clients/nimboconfigmanager/nimboconfigmanager_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

using namespace std::chrono_literals;

namespace vanta::nimboconfigmanager {

namespace {
const std::string kAddress = "unix:/tmp/nimboconfigmanager_service";
const std::string kServiceName = "NimboConfigManager";
// The service answers from its cached cloud configuration.
constexpr std::chrono::milliseconds kTimeout = 2000ms;
using Stub = Configuration::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       Executor* executor)
    : ObservableClient(
          address, "nimboconfigmanager",
          [](const Event& event) { return event.what() == STREAM_STARTED; },
          clients::unsubscribe_request<SubscriptionRequest>(false),
          clients::unsubscribe_request<SubscriptionRequest>(true), executor,
          logging::getLogger("NimboConfigManagerClient")),
      timeout_(timeout),
      logger_(logging::getLogger("NimboConfigManagerClient")) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
}

std::optional<AccountInfo> ClientImpl::GetAccountInfo() {
    return clients::call_or_empty(stub(), &Stub::GetAccountInfo, AccountInfoRequest(),
                                  call("GetAccountInfo"));
}

std::optional<AccountInfo> ClientImpl::GetSharedAccountInfo() {
    return clients::call_or_empty(stub(), &Stub::GetSharedAccountInfo, AccountInfoRequest(),
                                  call("GetSharedAccountInfo"));
}

std::optional<ServiceMap> ClientImpl::GetServiceMap() {
    return clients::call_or_empty(stub(), &Stub::GetServiceMap, google::protobuf::Empty(),
                                  call("GetServiceMap"));
}

std::string ClientImpl::GetPairingId() {
    return clients::call_or_throw(stub(), &Stub::GetPairingId, google::protobuf::Empty(),
                                  call("GetPairingId"))
        .uuid();
}

}  // namespace vanta::nimboconfigmanager

namespace vanta {

std::unique_ptr<nimboconfigmanager::Client> create_nimboconfigmanager_client(Executor& executor) {
    return std::make_unique<nimboconfigmanager::ClientImpl>(
        nimboconfigmanager::kAddress, nimboconfigmanager::kTimeout, &executor);
}

}  // namespace vanta
