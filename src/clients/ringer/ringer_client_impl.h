#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/ringer/ringer_client.h"
#include "ringer.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::ringer {

class ClientImpl final : public GrpcClient<Ringer, Client> {
  public:
    ClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    bool StartRinger(const std::string& name) override;
    bool StopRinger() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::ringer
