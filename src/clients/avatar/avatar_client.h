#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "avatar.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::avatar {

// The avatar service: fetches a person's picture; the picture's location is
// announced later on the service's event stream.
class Client : public GrpcClientBase {
  public:
    // Asks for the avatar of `uuid` at `size`; raises the GrpcException of a
    // failure.
    virtual void GetAvatar(const std::string& uuid, int32_t size) = 0;
};

// A client of "unix:/tmp/avatar_service" whose calls last at most `timeout`.
// The executor will carry the service's event stream.
std::unique_ptr<Client> create_avatar_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::avatar
