#include "clients/avatar/avatar_client_impl.h"

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"

namespace vanta::avatar {

namespace {
const std::string kAddress = "unix:/tmp/avatar_service";
const std::string kServiceName = "Avatar Service";
}  // namespace

ClientImpl::ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                       Executor* executor)
    : GrpcClient(address),
      timeout_(timeout),
      logger_(logging::getLogger(kServiceName)),
      events_({"avatar", *this, [this] { return channel(); },
               [this](grpc::ClientContext* context) { return stub().Subscribe(context); },
               [](const Event& event) { return event.has_stream_started(); },
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

void ClientImpl::GetAvatar(const std::string& uuid, int32_t size) {
    AvatarRequest request;
    request.set_uuid(uuid);
    request.set_size(size);
    clients::call_or_throw(stub(), &Avatar::Stub::GetAvatar, request,
                           {kServiceName, "GetAvatar", timeout_, logger_});
}

std::unique_ptr<Client> create_avatar_client(Executor& executor,
                                             std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(kAddress, timeout, &executor);
}

}  // namespace vanta::avatar
