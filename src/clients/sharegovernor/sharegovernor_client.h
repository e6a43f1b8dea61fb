#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"
#include "sharegovernor.pb.h"

namespace vanta::sharegovernor {

// The daemon's client of the share governor: the active content shares, the
// operations that start and stop them, and the governor's events. Unary
// operations raise the GrpcException of a failed call (handle_grpc_status).
//
// Observing (GrpcObservableClientBase): SetObserver(on_event, on_ready) hands
// the governor's stream_started event to `on_ready` and every other event to
// `on_event`, on the stream's reader thread.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    using Notification = std::function<void()>;

    ~Client() override = default;

    virtual void StopAllShares() = 0;
    virtual void StartLocalPreview() = 0;
    virtual void StartWiredShare() = 0;
    virtual ActiveShares GetActiveShares() = 0;
};

// The share governor's client, "ShareGovernorClient", at `endpoint` (the
// catalogue's share_governor row). Reconnection of the event stream runs on
// `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::sharegovernor
