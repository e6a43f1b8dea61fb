#pragma once

#include <string>

#include "clients/common/observing_client.h"
#include "clients/nimbobranding/nimbobranding_client.h"
#include "nimbobranding.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nimbobranding {

// Threading: unary operations may run on any thread at once; SetObserver and
// RemoveObserver belong to the executor's thread, events arrive on the
// stream's reader thread.
class ClientImpl final : public clients::ObservingClient<NimboBranding, Client, SubscriptionRequest,
                                                         Event, EventType> {
  public:
    ClientImpl(Executor& executor, const Endpoint& endpoint);
    ~ClientImpl() override;

    BrandingList GetNimboBranding() override;
    std::string GetCarouselImage() override;
    std::string GetSignageServer() override;
    void SetSignageServer(const std::string& url) override;
    void StopSignageServer() override;
    SignageState::State GetSignageState() override;

  private:
    void observed_event_handler(const ChangeHandler& on_change, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::nimbobranding
