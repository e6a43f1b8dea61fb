#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "networkstatusreporter.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::networkstatusreporter {

class ClientImpl final : public GrpcClient<NetworkStatusReporter, Client> {
  public:
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout);

    std::optional<NetworkStatusReport> GetNetworkStatusReport() override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::networkstatusreporter
