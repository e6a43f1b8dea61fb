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
    : ObservableClient(
          address, "networkstatusreporter",
          [](const Event& event) { return event.what() == STREAM_STARTED; },
          clients::unsubscribe_request<SubscriptionRequest>(false),
          clients::unsubscribe_request<SubscriptionRequest>(true), executor,
          logging::getLogger(kServiceName)),
      timeout_(timeout),
      logger_(logging::getLogger(kServiceName)) {}

std::optional<NetworkStatusReport> ClientImpl::GetNetworkStatusReport() {
    return clients::call_or_empty(stub(), &NetworkStatusReporter::Stub::GetNetworkStatusReport,
                                  Empty(),
                                  {kServiceName, "GetNetworkStatusReport", timeout_, logger_});
}

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(kAddress, timeout, &executor);
}

}  // namespace vanta::networkstatusreporter
