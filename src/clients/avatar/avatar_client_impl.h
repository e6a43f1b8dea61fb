#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "avatar.grpc.pb.h"
#include "clients/avatar/avatar_client.h"
#include "clients/common/observing_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::avatar {

class ClientImpl final
    : public clients::ObservingClient<Avatar, Client, SubscriptionRequest, Event, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    explicit ClientImpl(const Endpoint& endpoint, Executor* executor = nullptr);
    ~ClientImpl() override;

    void GetAvatar(const std::string& uuid, int32_t size) override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::avatar
