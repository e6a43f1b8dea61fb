#pragma once

#include <chrono>
#include <string>

#include "clients/common/backend_subscription.h"
#include "clients/common/unary_call.h"
#include "clients/nimbobranding/nimbobranding_client.h"
#include "nimbobranding.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimbobranding {

// Threading: unary operations may run on any thread at once; SetObserver and
// RemoveObserver belong to the executor's thread, events arrive on the
// stream's reader thread.
class ClientImpl final : public GrpcClient<NimboBranding, Client> {
  public:
    ClientImpl(Executor& executor, const std::string& address, std::chrono::milliseconds timeout);
    ~ClientImpl() override;

    void SetObserver(const ChangeHandler& on_change, const Notification& on_ready) override;
    void SetObserver(const ChangeHandler& on_change, const Notification& on_ready,
                     const Notification& on_closed) override;
    void RemoveObserver() override;

    BrandingList GetNimboBranding() override;
    std::string GetCarouselImage() override;
    std::string GetSignageServer() override;
    void SetSignageServer(const std::string& url) override;
    void StopSignageServer() override;
    SignageState::State GetSignageState() override;

  private:
    clients::UnaryCall call(const char* operation) const;
    void observed_event_handler(const ChangeHandler& on_change, const Notification& on_ready,
                                const Event& event);

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    clients::BackendSubscription<SubscriptionRequest, Event> subscription_;
};

}  // namespace vanta::nimbobranding
