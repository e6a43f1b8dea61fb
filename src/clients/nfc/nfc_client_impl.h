#pragma once

#include <string>

#include "clients/common/observing_client.h"
#include "clients/nfc/nfc_client.h"
#include "nfc.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nfc {

// Threading: GetCardState may run on any thread at once; SetObserver and
// RemoveObserver belong to the executor's thread, events arrive on the
// stream's reader thread.
class ClientImpl final
    : public clients::ObservingClient<Nfc, Client, SubscriptionRequest, Event, CardState> {
  public:
    ClientImpl(Executor& executor, const Endpoint& endpoint);
    ~ClientImpl() override;

    CardState GetCardState() override;

  private:
    void observed_event_handler(const CardStateHandler& on_card_state, const Notification& on_ready,
                                const Event& event) override;
};

}  // namespace vanta::nfc
