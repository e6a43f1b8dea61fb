#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/reset/reset_client.h"
#include "reset.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta {

class ResetClientImpl final : public GrpcClient<reset::Reset, ResetClient> {
  public:
    ResetClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    bool FactoryReset() override;
    bool RequestFactoryReset() override;
    bool RestartNetwork() override;
    bool Shutdown() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
