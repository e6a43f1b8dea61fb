#pragma once

#include <chrono>
#include <string>

#include "accesspoint.grpc.pb.h"
#include "clients/accesspoint/accesspoint_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::accesspoint {

class ClientImpl final : public GrpcClient<AccessPoint, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    APModeState GetAPModeState() override;
    bool SetAPModeState(APModeState state) override;
    LocalAPConfiguration GetLocalAPConfig() override;
    bool SetLocalAPConfig(const LocalAPConfiguration& config) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::accesspoint
