#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/nimboultrasound/nimboultrasound_client.h"
#include "nimboultrasound.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::nimboultrasound {

class ClientImpl final : public GrpcClient<NimboUltraSoundSvc, Client> {
  public:
    explicit ClientImpl(const Endpoint& endpoint);

    std::optional<bool> Enable() override;
    std::optional<bool> Disable() override;
    std::optional<NimboUltraSoundState> GetServiceState() override;
    std::optional<PairedUsers> GetPairedUsers() override;
    std::optional<std::string> GetLatestPairingToken() override;
    std::string GetGuestToken() override;
    std::string GetManualPairPin() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::nimboultrasound
