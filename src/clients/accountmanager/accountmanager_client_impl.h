#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "accountmanager.grpc.pb.h"
#include "clients/accountmanager/accountmanager_client.h"
#include "clients/common/unary_call.h"
#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::accountmanager {

inline const std::string kAccountManagerAddress = "unix:/tmp/account_manager";
inline const std::string kAccountManagerServiceName = "AccountManager";

// The account-manager client on one channel.
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class ClientImpl final : public GrpcClient<AccountManager, Client> {
  public:
    ClientImpl(Executor& executor, const std::string& address, std::chrono::milliseconds timeout,
               logging::Logger& logger);
    ~ClientImpl() override;
    ClientImpl(const ClientImpl&) = delete;
    ClientImpl& operator=(const ClientImpl&) = delete;

    void SetObserver(const StateCallback& on_state, const Notification& on_ready) override;
    void SetObserver(const StateCallback& on_state, const Notification& on_ready,
                     const Notification& on_closed) override;
    void RemoveObserver() override;

    BootstrapState::State GetBootstrapState() override;
    ActivationResponse CreateNimboAccount(const std::string& activation_code) override;
    ActivationResponse CreateKrellAccount(
        const std::vector<std::string>& tftp_ip_addresses) override;
    ActivationResponse CreateOrvaAccount(const std::string& username, const std::string& password,
                                         const std::string& proxy) override;
    void DeleteAccount(const std::string& account_id) override;
    AccountState GetAccountState(const std::string& account_id) override;
    AccountStateList ListAccountStates() override;
    AccountDetails GetAccountDetails(const std::string& account_id) override;

    // Turns one event of the manager into a call of `on_ready` or `on_state`.
    // Throws std::runtime_error for the enumeration's reserved sentinels.
    // Runs on the stream's reader thread.
    void observed_event_handler(const StateCallback& on_state, const Notification& on_ready,
                                const Event& event);

  private:
    using StreamManager = GrpcClientBidiStreamManager<SubscriptionRequest, Event>;

    clients::UnaryCall call(const char* operation) const;
    ActivationResponse create_account(const char* operation, const ActivationRequest& request);
    // Queues the re-subscription after the stream of `subscription` ended.
    void reconnect_stream(std::uint64_t subscription, const StateCallback& on_state,
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

}  // namespace vanta::accountmanager
