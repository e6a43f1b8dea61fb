#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/hdmirx/hdmirx_client.h"
#include "hdmirx.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta {

class HdmiRxClientImpl final : public GrpcClient<hdmirx::HdmiRx, HdmiRxClient> {
  public:
    HdmiRxClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    std::optional<hdmirx::HdmiState> GetHdmiState() override;
    hdmirx::RenderResponse::Status StartLocalWiredShare() override;
    hdmirx::RenderResponse::Status StopLocalWiredShare() override;
    std::optional<hdmirx::LocalWiredShareStatistics> GetLocalWiredShareStatistics() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
