#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "networkstatusreporter.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::networkstatusreporter {

// The network status reporter: one summary of the device's network state.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    // The report, or nothing when the reporter could not answer.
    virtual std::optional<NetworkStatusReport> GetNetworkStatusReport() = 0;
};

// A client of the network status reporter at `endpoint` (the catalogue's
// networkstatusreporter row). The event stream reconnects on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::networkstatusreporter
