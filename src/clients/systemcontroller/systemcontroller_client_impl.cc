#include "clients/systemcontroller/systemcontroller_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta::systemcontroller {

namespace {
using Stub = SystemController::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, logging::Logger& logger, Executor* executor)
    : ObservingClient(endpoint, executor, logger, "systemcontroller::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.what() == STREAM_STARTED);
}

std::optional<StateResponse> ClientImpl::GetState() {
    return clients::call_or_empty(stub(), &Stub::GetState, Empty(), call("GetState"));
}

std::optional<DeviceStateResponse> ClientImpl::GetDeviceState() {
    return clients::call_or_empty(stub(), &Stub::GetDeviceState, Empty(), call("GetDeviceState"));
}

std::optional<RequestStatus> ClientImpl::ClearOobState() {
    return clients::call_or_empty(stub(), &Stub::ClearOobState, Empty(), call("ClearOobState"));
}

std::optional<RequestStatus> ClientImpl::Reboot(bool force) {
    RebootOption option;
    option.set_force(force);
    return clients::call_or_empty(stub(), &Stub::Reboot, option, call("Reboot"));
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, logging::getLogger("SystemControllerClient"),
                                        &executor);
}

}  // namespace vanta::systemcontroller
