#pragma once

#include <chrono>
#include <string>

#include "clients/common/observable_client.h"
#include "clients/common/unary_call.h"
#include "clients/sharegovernor/sharegovernor_client.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"
#include "sharegovernor.grpc.pb.h"

namespace vanta::sharegovernor {

inline const std::string kShareGovernorAddress = "unix:/tmp/share_governor";
inline const std::string kShareGovernorServiceName = "ShareGovernor";

// The share-governor client on one channel.
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class ClientImpl final
    : public clients::ObservableClient<ShareGovernor, Client, SubscriptionRequest, Event> {
  public:
    ClientImpl(Executor& executor, const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger);
    ClientImpl(const ClientImpl&) = delete;
    ClientImpl& operator=(const ClientImpl&) = delete;

    void StopAllShares() override;
    void StartLocalPreview() override;
    void StartWiredShare() override;
    ActiveShares GetActiveShares() override;

  private:
    clients::UnaryCall call(const char* operation) const;

    std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::sharegovernor
