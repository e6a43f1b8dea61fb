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
    : ObservableClient(
          address, "avatar", [](const Event& event) { return event.has_stream_started(); },
          clients::unsubscribe_request<SubscriptionRequest>(false),
          clients::unsubscribe_request<SubscriptionRequest>(true), executor,
          logging::getLogger(kServiceName)),
      timeout_(timeout),
      logger_(logging::getLogger(kServiceName)) {}

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
