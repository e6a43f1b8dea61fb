#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "avatar.grpc.pb.h"
#include "clients/avatar/avatar_client.h"
#include "clients/common/observable_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::avatar {

class ClientImpl final
    : public clients::ObservableClient<Avatar, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    void GetAvatar(const std::string& uuid, int32_t size) override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::avatar
