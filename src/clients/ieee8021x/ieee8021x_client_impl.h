#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/ieee8021x/ieee8021x_client.h"
#include "ieee8021x.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta {

class Ieee8021xClientImpl final : public GrpcClient<ieee8021x::Ieee8021x, Ieee8021xClient> {
  public:
    Ieee8021xClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    ieee8021x::Ieee8021xConfig GetIeee8021xConfig() override;
    bool GetIeee8021xState() override;
    bool SetIeee8021xState(bool enabled) override;
    ieee8021x::RequestStatus SetIeee8021xConfig(const ieee8021x::Ieee8021xConfig& config) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta
