#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/sharegovernor/sharegovernor_client.h"
#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
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
class ClientImpl final : public GrpcClient<ShareGovernor, Client> {
  public:
    ClientImpl(Executor& executor, const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger);
    ~ClientImpl() override;
    ClientImpl(const ClientImpl&) = delete;
    ClientImpl& operator=(const ClientImpl&) = delete;

    void SetObserver(const EventHandler& on_event, const Notification& on_ready) override;
    void SetObserver(const EventHandler& on_event, const Notification& on_ready,
                     const Notification& on_closed) override;
    void RemoveObserver() override;

    void StopAllShares() override;
    void StartLocalPreview() override;
    void StartWiredShare() override;
    ActiveShares GetActiveShares() override;

  private:
    using StreamManager = GrpcClientBidiStreamManager<SubscriptionRequest, Event>;

    clients::UnaryCall call(const char* operation) const;
    // Queues the re-subscription after the stream of `subscription` ended.
    void reconnect_stream(std::uint64_t subscription, const EventHandler& on_event,
                          const Notification& on_ready);

    std::chrono::milliseconds timeout_;
    std::unique_ptr<StreamManager> stream_manager_;
    std::atomic<bool> observing_{false};
    Executor& executor_;
    logging::Logger& logger_;
    // Identifies the current observation: a stream end or queued reconnection
    // of an earlier one is ignored.
    std::atomic<std::uint64_t> subscription_{0};
    // Expires with the client; queued reconnection work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vanta::sharegovernor
