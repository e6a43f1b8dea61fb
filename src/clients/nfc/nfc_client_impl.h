#pragma once

#include <chrono>
#include <string>

#include "clients/common/backend_subscription.h"
#include "clients/common/unary_call.h"
#include "clients/nfc/nfc_client.h"
#include "nfc.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::nfc {

// Threading: GetCardState may run on any thread at once; SetObserver and
// RemoveObserver belong to the executor's thread, events arrive on the
// stream's reader thread.
class ClientImpl final : public GrpcClient<Nfc, Client> {
  public:
    ClientImpl(Executor& executor, const std::string& address, std::chrono::milliseconds timeout);
    ~ClientImpl() override;

    void SetObserver(const CardStateHandler& on_card_state, const Notification& on_ready) override;
    void SetObserver(const CardStateHandler& on_card_state, const Notification& on_ready,
                     const Notification& on_closed) override;
    void RemoveObserver() override;

    CardState GetCardState() override;

  private:
    clients::UnaryCall call(const char* operation) const;
    void observed_event_handler(const CardStateHandler& on_card_state, const Notification& on_ready,
                                const Event& event);

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    clients::BackendSubscription<SubscriptionRequest, Event> subscription_;
};

}  // namespace vanta::nfc
