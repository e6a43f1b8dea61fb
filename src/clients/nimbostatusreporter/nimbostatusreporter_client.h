#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "nimbostatusreporter.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::nimbostatusreporter {

// The cloud status reporter: which cloud service changed, the state of the
// cloud connection and the status of each cloud service. Each unary
// operation raises the GrpcException of a failure.
//
// Observing: SetObserver(on_event, on_ready) hands every event to `on_event`
// on the stream's reader thread; the reporter announces no stream start, so
// `on_ready` is never called. When the stream ends it is set up again on a
// new channel by work queued on the factory's executor. The three-callback
// form calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    // The service's `success`.
    virtual bool SetRefreshTokenStatus(RefreshTokenEvent::Type type) = 0;
    virtual CloudConnectivityResponse::ConnectivityState CheckCloudConnectivity() = 0;
    virtual NimboServiceStatus GetNimboServiceStatus(NimboServiceStatus::ServiceType service) = 0;
};

// A client of the cloud status reporter at `endpoint` (the catalogue's
// nimbostatusreporter row: the registry's address for it first, else its
// socket). The event stream reconnects on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::nimbostatusreporter
