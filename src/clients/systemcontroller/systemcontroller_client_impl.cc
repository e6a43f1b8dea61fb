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
    : ObservableClient(
          address, "systemcontroller",
          [](const Event& event) { return event.what() == STREAM_STARTED; },
          clients::unsubscribe_request<SubscriptionRequest>(false),
          clients::unsubscribe_request<SubscriptionRequest>(true), executor, logger),
      timeout_(timeout),
      logger_(logger) {}

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
