#include "clients/avatar/avatar_client_impl.h"

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"

namespace vanta::avatar {

ClientImpl::ClientImpl(const Endpoint& endpoint, Executor* executor)
    : ObservingClient(endpoint, executor, "avatar::SetObserver") {}

// The stream's reader thread calls into this client until the stream is closed.
ClientImpl::~ClientImpl() {
    close_stream();
}

void ClientImpl::observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                        const Event& event) {
    forward(on_event, on_ready, event, event.has_stream_started());
}

void ClientImpl::GetAvatar(const std::string& uuid, int32_t size) {
    AvatarRequest request;
    request.set_uuid(uuid);
    request.set_size(size);
    clients::call_or_throw(stub(), &Avatar::Stub::GetAvatar, request, call("GetAvatar"));
}

std::unique_ptr<Client> create_avatar_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(endpoint, &executor);
}

}  // namespace vanta::avatar
