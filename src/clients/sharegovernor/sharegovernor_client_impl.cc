#include "clients/sharegovernor/sharegovernor_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::sharegovernor {
namespace {

using Stub = ShareGovernor::Stub;
using google::protobuf::Empty;

}  // namespace

ClientImpl::ClientImpl(Executor& executor, const std::string& address,
                       std::chrono::milliseconds timeout, logging::Logger& logger)
    : ObservableClient(
          address, "sharegovernor",
          [](const Event& event) { return event.data_case() == Event::kStreamStarted; },
          clients::unsubscribe_request<SubscriptionRequest>(false),
          clients::unsubscribe_request<SubscriptionRequest>(true), &executor, logger),
      timeout_(timeout),
      logger_(logger) {}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kShareGovernorServiceName, operation, timeout_, logger_};
}

// Unary operations.

void ClientImpl::StopAllShares() {
    clients::call_or_throw(stub(), &Stub::StopAllShares, Empty(), call("StopAllShares"));
}

void ClientImpl::StartLocalPreview() {
    clients::call_or_throw(stub(), &Stub::StartLocalPreview, Empty(), call("StartLocalPreview"));
}

void ClientImpl::StartWiredShare() {
    clients::call_or_throw(stub(), &Stub::StartWiredShare, Empty(), call("StartWiredShare"));
}

ActiveShares ClientImpl::GetActiveShares() {
    return clients::call_or_throw(stub(), &Stub::GetActiveShares, Empty(), call("GetActiveShares"));
}

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(executor, kShareGovernorAddress, timeout,
                                        logging::getLogger("ShareGovernorClient"));
}

}  // namespace vanta::sharegovernor
