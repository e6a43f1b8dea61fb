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
    : GrpcClient(address),
      timeout_(timeout),
      logger_(logging::getLogger("NimboConfigManagerClient")),
      events_({"nimboconfigmanager", *this, [this] { return channel(); },
               [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
               [](const Event& event) { return event.what() == STREAM_STARTED; },
               clients::unsubscribe_request<SubscriptionRequest>(false),
               clients::unsubscribe_request<SubscriptionRequest>(true)},
              executor, logger_) {}

void ClientImpl::SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_ready) {
    events_.set_observer(on_event, on_ready);
}

void ClientImpl::SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_ready,
                             const std::function<void()>& on_closed) {
    events_.set_observer(on_event, on_ready, on_closed);
}

void ClientImpl::RemoveObserver() {
    events_.remove_observer();
}

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
