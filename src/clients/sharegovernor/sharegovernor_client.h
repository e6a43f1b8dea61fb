#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"
#include "sharegovernor.pb.h"

namespace vanta::sharegovernor {

// The daemon's client of the share governor: the active content shares, the
// operations that start and stop them, and the governor's events. Unary
// operations raise the GrpcException of a failed call (handle_grpc_status).
class Client : public GrpcClientBase {
  public:
    using EventHandler = std::function<void(const Event&)>;
    using Notification = std::function<void()>;

    ~Client() override = default;

    // Observes the governor's events: `on_ready` for its stream_started event,
    // `on_event` for every other one. When the stream ends while still
    // observed, it is set up again on a new channel by work queued on the
    // client's executor. Throws std::runtime_error while already observing.
    virtual void SetObserver(const EventHandler& on_event, const Notification& on_ready) = 0;
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    virtual void SetObserver(const EventHandler& on_event, const Notification& on_ready,
                             const Notification& on_closed) = 0;
    // Tells the governor that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;

    virtual void StopAllShares() = 0;
    virtual void StartLocalPreview() = 0;
    virtual void StartWiredShare() = 0;
    virtual ActiveShares GetActiveShares() = 0;
};

// The share governor's client, "ShareGovernorClient", on
// "unix:/tmp/share_governor"; every call has a deadline of `timeout`.
// Reconnection of the event stream runs on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::sharegovernor
