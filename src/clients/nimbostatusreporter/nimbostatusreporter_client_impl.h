#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "clients/common/event_subscription.h"
#include "clients/common/unary_call.h"
#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "nimbostatusreporter.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimbostatusreporter {

class ClientImpl final : public GrpcClient<NimboStatusReporter, Client> {
  public:
    // Without an executor a stream that ends is not set up again.
    ClientImpl(const std::string& address, std::chrono::milliseconds timeout,
               Executor* executor = nullptr);

    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready) override;
    void SetObserver(const std::function<void(const Event&)>& on_event,
                     const std::function<void()>& on_ready,
                     const std::function<void()>& on_closed) override;
    void RemoveObserver() override;

    bool SetRefreshTokenStatus(RefreshTokenEvent::Type type) override;
    CloudConnectivityResponse::ConnectivityState CheckCloudConnectivity() override;
    NimboServiceStatus GetNimboServiceStatus(NimboServiceStatus::ServiceType service) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    clients::EventSubscription<SubscriptionRequest, Event> events_;
};

}  // namespace vanta::nimbostatusreporter
