#include "clients/sharegovernor/sharegovernor_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::sharegovernor {
namespace {

using Stub = ShareGovernor::Stub;
using google::protobuf::Empty;

}  // namespace

ClientImpl::ClientImpl(Executor& executor, const Endpoint& endpoint, logging::Logger& logger)
    : ObservingClient(endpoint, &executor, logger, "sharegovernor::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.data_case() == Event::kStreamStarted);
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

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(executor, endpoint,
                                        logging::getLogger("ShareGovernorClient"));
}

}  // namespace vanta::sharegovernor
