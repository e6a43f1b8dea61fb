#include "clients/nimbostatusreporter/nimbostatusreporter_client_impl.h"

#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

namespace vanta::nimbostatusreporter {

namespace {
using Stub = NimboStatusReporter::Stub;
using clients::call_or_throw;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, logging::getLogger("NimboStatusReporterClient"),
                      "nimbostatusreporter::SetObserver", subscribe_words<SubscriptionRequest>()) {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

// The reporter announces no stream start, and its request says whether to
// subscribe rather than whether to stop.
void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, false);
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

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(resolve_endpoint(endpoint), &executor);
}

}  // namespace vanta::nimbostatusreporter
