#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/reset/reset_client.h"
#include "reset.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta {

class ResetClientImpl final : public GrpcClient<reset::Reset, ResetClient> {
  public:
    ResetClientImpl(const std::string& address, std::chrono::milliseconds timeout,
                    logging::Logger& logger);

    bool FactoryReset() override;
    bool RequestFactoryReset() override;
    bool RestartNetwork() override;
    bool Shutdown() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
