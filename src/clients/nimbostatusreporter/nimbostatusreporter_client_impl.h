#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "nimbostatusreporter.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimbostatusreporter {

class ClientImpl final
    : public clients::ObservableClient<NimboStatusReporter, Client, SubscriptionRequest, Event> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    bool SetRefreshTokenStatus(RefreshTokenEvent::Type type) override;
    CloudConnectivityResponse::ConnectivityState CheckCloudConnectivity() override;
    NimboServiceStatus GetNimboServiceStatus(NimboServiceStatus::ServiceType service) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::nimbostatusreporter
