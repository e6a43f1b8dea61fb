#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/nimboconfigmanager/nimboconfigmanager_client.h"
#include "nimboconfigmanager.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimboconfigmanager {

class ClientImpl final
    : public clients::ObservableClient<Configuration, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    std::optional<AccountInfo> GetAccountInfo() override;
    std::optional<AccountInfo> GetSharedAccountInfo() override;
    std::optional<ServiceMap> GetServiceMap() override;
    std::string GetPairingId() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::nimboconfigmanager
