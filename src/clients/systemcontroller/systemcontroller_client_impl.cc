#include "clients/systemcontroller/systemcontroller_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta::systemcontroller {

namespace {
// The system controller has no name of its own; errors carry this one.
const std::string kServiceName = "SystemController";
const std::string kAddress = "unix:/tmp/systemcontroller_service";
using Stub = SystemController::Stub;
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       logging::Logger& logger, Executor* executor)
    : GrpcClient(address),
      timeout_(timeout),
      logger_(logger),
      events_({"systemcontroller", *this, [this] { return channel(); },
               [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
               [](const Event& event) { return event.what() == STREAM_STARTED; },
               clients::unsubscribe_request<SubscriptionRequest>(false),
               clients::unsubscribe_request<SubscriptionRequest>(true)},
              executor, logger_) {}

void ClientImpl::SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_ready) {
    events_.set_observer(on_event, on_ready);
}

void ClientImpl::SetObserver(const std::function<void(const Event&)>& on_event,
                             const std::function<void()>& on_ready,
                             const std::function<void()>& on_closed) {
    events_.set_observer(on_event, on_ready, on_closed);
}

void ClientImpl::RemoveObserver() {
    events_.remove_observer();
}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(kAddress, timeout,
                                        logging::getLogger("SystemControllerClient"), &executor);
}

}  // namespace vanta::systemcontroller
