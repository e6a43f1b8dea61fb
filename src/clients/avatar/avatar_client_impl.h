#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "avatar.grpc.pb.h"
#include "clients/avatar/avatar_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::avatar {

class ClientImpl final : public GrpcClient<Avatar, Client> {
  public:
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout);

    void GetAvatar(const std::string& uuid, int32_t size) override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::avatar
