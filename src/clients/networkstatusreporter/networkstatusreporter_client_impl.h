#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "clients/common/observable_client.h"
#include "clients/networkstatusreporter/networkstatusreporter_client.h"
#include "networkstatusreporter.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::networkstatusreporter {

class ClientImpl final
    : public clients::ObservableClient<NetworkStatusReporter, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    std::optional<NetworkStatusReport> GetNetworkStatusReport() override;

  private:
    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::networkstatusreporter
