#include "clients/networkstatusreporter/networkstatusreporter_client_impl.h"

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"

namespace vanta::networkstatusreporter {

namespace {
const std::string kAddress = "unix:/tmp/network_status_reporter";
const std::string kServiceName = "Network Status Reporter Service";
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       Executor* executor)
    : GrpcClient(address),
      timeout_(timeout),
      logger_(logging::getLogger(kServiceName)),
      events_({"networkstatusreporter", *this, [this] { return channel(); },
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

std::optional<NetworkStatusReport> ClientImpl::GetNetworkStatusReport() {
    return clients::call_or_empty(stub(), &NetworkStatusReporter::Stub::GetNetworkStatusReport,
                                  Empty(),
                                  {kServiceName, "GetNetworkStatusReport", timeout_, logger_});
}

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(kAddress, timeout, &executor);
}

}  // namespace vanta::networkstatusreporter
