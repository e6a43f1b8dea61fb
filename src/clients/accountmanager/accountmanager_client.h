#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accountmanager.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::accountmanager {

// What an account event changed; the state callback gets it with the
// account's id.
enum class StateChange : int {
    BootstrapStateChanged = 0,
    AccountStateChanged = 1,
    AccountDetailsChanged = 2,
};

// The daemon's client of the account manager: provisions the device's
// accounts, reads their state and details, and observes the manager's events.
// Unary operations raise the GrpcException of a failed call
// (handle_grpc_status), except GetBootstrapState, which never raises.
class Client : public GrpcClientBase {
  public:
    using StateCallback = std::function<void(StateChange change, const std::string& account_id)>;
    using Notification = std::function<void()>;

    ~Client() override = default;

    // Observes the account events: `on_ready` when the manager has started the
    // stream, `on_state` for every change. When the stream ends while still
    // observed, it is set up again on a new channel by work queued on the
    // client's executor. Throws std::runtime_error while already observing.
    virtual void SetObserver(const StateCallback& on_state, const Notification& on_ready) = 0;
    // As above, but `on_closed` is called (on the stream's reader thread) when
    // the stream ends, and the caller decides what follows.
    virtual void SetObserver(const StateCallback& on_state, const Notification& on_ready,
                             const Notification& on_closed) = 0;
    // Tells the manager that observation stops and closes the stream.
    virtual void RemoveObserver() = 0;

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

// The account manager's client, "AccountManagerClient", on
// "unix:/tmp/account_manager"; every call has a deadline of `timeout`.
// Reconnection of the event stream runs on `executor`.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::accountmanager
