#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"
#include "systemcontroller.pb.h"

namespace vanta::systemcontroller {

// The system controller: system and device state, the out-of-box state and
// reboots. Every operation gives nothing when the system controller could not
// be reached or could not serve the call (the failure is logged as
// "<Op> request failed, ..."), and raises std::runtime_error for any other
// failure.
//
// Observing: SetObserver(on_event, on_ready) hands the backend's "stream
// started" event to `on_ready` and every other event to `on_event` (on the
// stream's reader thread); when the stream ends it is set up again on a new
// channel by work queued on the factory's executor. The three-callback form
// calls `on_closed` instead and leaves the rest to the caller. A second
// SetObserver while observing raises std::runtime_error.
class Client : public virtual GrpcObservableClientBase<Event> {
  public:
    virtual std::optional<StateResponse> GetState() = 0;
    virtual std::optional<DeviceStateResponse> GetDeviceState() = 0;
    virtual std::optional<RequestStatus> ClearOobState() = 0;
    virtual std::optional<RequestStatus> Reboot(bool force) = 0;
};

// A client of the system controller at `endpoint` (the catalogue's
// systemcontroller row). The event stream reconnects on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::systemcontroller
