#include "clients/krellconfigmanager/krellconfigmanager_client_impl.h"

#include "runtime/logging/loggers.h"

namespace vanta::krellconfigmanager {

namespace {
using Stub = KrellConfigManager::Stub;
}  // namespace

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, "krellconfigmanager::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.what() == STREAM_STARTED);
}

KRELLDeviceConfigValues ClientImpl::GetKRELLDeviceConfigValues() {
    return clients::call_or_throw(stub(), &Stub::GetKRELLDeviceConfigValues, Empty(),
                                  call("GetKRELLDeviceConfigValues"));
}

std::optional<std::vector<std::string>> ClientImpl::GetKRELLTFTPAddress() {
    const auto reply = clients::call_or_empty(stub(), &Stub::GetKRELLTFTPAddress, Empty(),
                                              call("GetKRELLTFTPAddress"));
    if (!reply) {
        return std::nullopt;
    }
    return std::vector<std::string>(reply->address_list().begin(), reply->address_list().end());
}

std::optional<KRELLDeviceConfigValue> ClientImpl::GetKRELLDeviceConfigValue(
    const std::string& name, const std::string& value) {
    KRELLDeviceConfigRequest request;
    request.set_name(name);
    request.set_value(value);
    return clients::call_or_empty(stub(), &Stub::GetKRELLDeviceConfigValue, request,
                                  call("GetKRELLDeviceConfigValue"));
}

std::optional<bool> ClientImpl::SetKRELLAutoConfig(bool enable) {
    KRELLAutoConfig request;
    request.set_enable(enable);
    const auto reply = clients::call_or_empty(stub(), &Stub::SetKRELLAutoConfig, request,
                                              call("SetKRELLAutoConfig"));
    return reply ? std::optional<bool>(reply->success()) : std::nullopt;
}

void ClientImpl::StartOnPremUpgrade() {
    clients::call_or_throw(stub(), &Stub::StartOnPremUpgrade, Empty(), call("StartOnPremUpgrade"));
}

void ClientImpl::PostponeOnPremUpgrade(int32_t postpone_seconds) {
    PostponeOnPremUpgradeRequest request;
    request.set_postpone_seconds(postpone_seconds);
    clients::call_or_throw(stub(), &Stub::PostponeOnPremUpgrade, request,
                           call("PostponeOnPremUpgrade"));
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, &executor);
}

}  // namespace vanta::krellconfigmanager
