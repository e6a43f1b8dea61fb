#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "avatar.grpc.pb.h"
#include "clients/avatar/avatar_client.h"
#include "clients/common/event_subscription.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::avatar {

class ClientImpl final : public GrpcClient<Avatar, Client> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready) override;
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready,
                     const std::function<void()>& on_closed) override;
    void RemoveObserver() override;

    void GetAvatar(const std::string& uuid, int32_t size) override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    clients::EventSubscription<SubscriptionRequest, Event> events_;
};

}  // namespace vanta::avatar
