#pragma once

#include <string>

#include "clients/common/observing_client.h"
#include "clients/sharegovernor/sharegovernor_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "sharegovernor.grpc.pb.h"

namespace vanta::sharegovernor {

// The share-governor client on one channel.
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class ClientImpl final
    : public clients::ObservingClient<ShareGovernor, Client, SubscriptionRequest, Event, Event> {
  public:
    ClientImpl(Executor& executor, const Endpoint& endpoint, logging::Logger& logger);
    ~ClientImpl() override;
    ClientImpl(const ClientImpl&) = delete;
    ClientImpl& operator=(const ClientImpl&) = delete;

    void StopAllShares() override;
    void StartLocalPreview() override;
    void StartWiredShare() override;
    ActiveShares GetActiveShares() override;

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::sharegovernor
