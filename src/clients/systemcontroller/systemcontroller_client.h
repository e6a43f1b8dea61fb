#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"
#include "systemcontroller.pb.h"

namespace vanta::systemcontroller {

// The system controller: system and device state, the out-of-box state and
// reboots. Every operation gives nothing when the system controller could not
// be reached or could not serve the call (the failure is logged as
// "<Op> request failed, ..."), and raises std::runtime_error for any other
// failure.
class Client : public GrpcClientBase {
  public:
    virtual std::optional<StateResponse> GetState() = 0;
    virtual std::optional<DeviceStateResponse> GetDeviceState() = 0;
    virtual std::optional<RequestStatus> ClearOobState() = 0;
    virtual std::optional<RequestStatus> Reboot(bool force) = 0;
};

// A client of "unix:/tmp/systemcontroller_service"; every call has the
// deadline `timeout`. The executor is for the client's event stream, which
// re-subscribes there; this client makes unary calls only.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::systemcontroller
