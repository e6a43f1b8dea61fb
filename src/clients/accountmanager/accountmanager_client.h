#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accountmanager.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::accountmanager {

// What an account event changed; the state callback gets it with the
// account's id.
enum class StateChange : int {
    BootstrapStateChanged = 0,
    AccountStateChanged = 1,
    AccountDetailsChanged = 2,
};

// What the state callback of an observer is told: the change and the id of
// the account it concerns.
using StateCallback = std::function<void(StateChange change, const std::string& account_id)>;

// The daemon's client of the account manager: provisions the device's
// accounts, reads their state and details, and observes the manager's events.
// Unary operations raise the GrpcException of a failed call
// (handle_grpc_status), except GetBootstrapState, which never raises.
//
// Observing (GrpcObservableClientBase): SetObserver(on_state, on_ready) calls
// `on_ready` when the manager has started the stream and `on_state` for every
// change.
class Client : public virtual GrpcObservableClientBase<StateChange, StateCallback> {
  public:
    using StateCallback = accountmanager::StateCallback;
    using Notification = std::function<void()>;

    ~Client() override = default;

    // ERROR when the manager cannot be reached, INITIALIZING for any other
    // failure.
    virtual BootstrapState::State GetBootstrapState() = 0;
    virtual ActivationResponse CreateNimboAccount(const std::string& activation_code) = 0;
    virtual ActivationResponse CreateKrellAccount(
        const std::vector<std::string>& tftp_ip_addresses) = 0;
    virtual ActivationResponse CreateOrvaAccount(const std::string& username,
                                                 const std::string& password,
                                                 const std::string& proxy) = 0;
    virtual void DeleteAccount(const std::string& account_id) = 0;
    virtual AccountState GetAccountState(const std::string& account_id) = 0;
    virtual AccountStateList ListAccountStates() = 0;
    virtual AccountDetails GetAccountDetails(const std::string& account_id) = 0;
};

// The account manager's client, "AccountManagerClient", at `endpoint` (the
// catalogue's account_manager row). Reconnection of the event stream runs on
// `executor`.
std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint);

}  // namespace vanta::accountmanager
