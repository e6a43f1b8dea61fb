#pragma once

#include <memory>
#include <string>
#include <vector>

#include "accountmanager.grpc.pb.h"
#include "clients/accountmanager/accountmanager_client.h"
#include "clients/common/observing_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/executor/executor.h"
#include "runtime/logging/logger.h"

namespace vanta::accountmanager {

// The account-manager client on one channel.
//
// Threading: unary operations may run on any thread at once. SetObserver and
// RemoveObserver belong to one thread at a time (the executor's thread, where
// reconnection runs too); events and the end of the stream arrive on the
// stream manager's reader thread.
class ClientImpl final
    : public clients::ObservingClient<AccountManager, Client, SubscriptionRequest, Event,
                                      StateChange, StateCallback> {
  public:
    ClientImpl(Executor& executor, const Endpoint& endpoint, logging::Logger& logger);
    ~ClientImpl() override;
    ClientImpl(const ClientImpl&) = delete;
    ClientImpl& operator=(const ClientImpl&) = delete;

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
                                const Event& event) override;

  private:
    ActivationResponse create_account(const char* operation, const ActivationRequest& request);
};

}  // namespace vanta::accountmanager
