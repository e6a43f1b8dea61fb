#include "clients/networkstatusreporter/networkstatusreporter_client_impl.h"

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"

namespace vanta::networkstatusreporter {

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, "networkstatusreporter::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.what() == STREAM_STARTED);
}

std::optional<NetworkStatusReport> ClientImpl::GetNetworkStatusReport() {
    return clients::call_or_empty(stub(), &NetworkStatusReporter::Stub::GetNetworkStatusReport,
                                  Empty(), call("GetNetworkStatusReport"));
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, &executor);
}

}  // namespace vanta::networkstatusreporter
