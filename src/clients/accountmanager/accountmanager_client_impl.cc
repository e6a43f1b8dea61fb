#include "clients/accountmanager/accountmanager_client_impl.h"

#include <stdexcept>
#include <utility>

#include <google/protobuf/empty.pb.h>

#include "rpc/client/grpc_exceptions.h"
#include "runtime/logging/loggers.h"

namespace vanta::accountmanager {
namespace {

using Stub = AccountManager::Stub;
using google::protobuf::Empty;

AccountId account_id_of(const std::string& id) {
    AccountId account_id;
    account_id.set_id(id);
    return account_id;
}

}  // namespace

ClientImpl::ClientImpl(Executor& executor, const Endpoint& endpoint, logging::Logger& logger)
    : ObservingClient(endpoint, &executor, logger, "accountmanager::SetObserver") {}

// The stream goes before the stub: its reader thread uses both.
ClientImpl::~ClientImpl() {
    close_stream();
}

// Event subscription.

void ClientImpl::observed_event_handler(const StateCallback& on_state, const Notification& on_ready,
                                        const Event& event) {
    if (!callbacks_set(on_state, on_ready)) {
        return;
    }
    const std::string& account_id = event.account_id().id();
    switch (event.what()) {
        case UNKNOWN_CHANGE:
            logger().info("observed_event_handler UNKNOWN_CHANGE");
            return;
        case STREAM_STARTED:
            on_ready();
            return;
        case BOOTSTRAP_STATE_CHANGED:
            on_state(StateChange::BootstrapStateChanged, account_id);
            return;
        case ACCOUNT_ACTIVATION_CHANGED:
        case ACCOUNT_REGISTRATION_CHANGED:
            on_state(StateChange::AccountStateChanged, account_id);
            return;
        case ACCOUNT_DETAILS_CHANGED:
            on_state(StateChange::AccountDetailsChanged, account_id);
            return;
        case EventType_INT_MIN_SENTINEL_DO_NOT_USE_:
        case EventType_INT_MAX_SENTINEL_DO_NOT_USE_:
            throw std::runtime_error("Unsupported accountmanager event type");
        default:
            // Event types of newer managers.
            return;
    }
}

// Unary operations.

BootstrapState::State ClientImpl::GetBootstrapState() {
    try {
        return clients::call_or_throw(stub(), &Stub::GetBootstrapState, Empty(),
                                      call("GetBootstrapState"))
            .state();
    } catch (const ServiceUnavailableError&) {
        return BootstrapState::ERROR;
    } catch (const std::exception& e) {
        logger().error("{}: {}", "GetBootstrapState", e.what());
        return BootstrapState::INITIALIZING;
    }
}

ActivationResponse ClientImpl::create_account(const char* operation,
                                              const ActivationRequest& request) {
    return clients::call_or_throw(stub(), &Stub::CreateAccount, request, call(operation));
}

ActivationResponse ClientImpl::CreateNimboAccount(const std::string& activation_code) {
    ActivationRequest request;
    request.mutable_nimbo_activation()->set_activation_code(activation_code);
    return create_account("CreateNimboAccount", request);
}

ActivationResponse ClientImpl::CreateKrellAccount(
    const std::vector<std::string>& tftp_ip_addresses) {
    ActivationRequest request;
    // Set even for an empty list: it says which kind of account is meant.
    KrellActivationRequest& krell = *request.mutable_krell_activation();
    for (const std::string& address : tftp_ip_addresses) {
        krell.add_tftp_ip_address(address);
    }
    return create_account("CreateKrellAccount", request);
}

ActivationResponse ClientImpl::CreateOrvaAccount(const std::string& username,
                                                 const std::string& password,
                                                 const std::string& proxy) {
    ActivationRequest request;
    OrvaActivationRequest& orva = *request.mutable_orva_activation();
    orva.set_username(username);
    orva.set_password(password);
    orva.set_proxy(proxy);
    return create_account("CreateOrvaAccount", request);
}

void ClientImpl::DeleteAccount(const std::string& account_id) {
    clients::call_or_throw(stub(), &Stub::DeleteAccount, account_id_of(account_id),
                           call("DeleteAccount"));
}

AccountState ClientImpl::GetAccountState(const std::string& account_id) {
    return clients::call_or_throw(stub(), &Stub::GetAccountState, account_id_of(account_id),
                                  call("GetAccountState"));
}

AccountStateList ClientImpl::ListAccountStates() {
    return clients::call_or_throw(stub(), &Stub::ListAccountStates, Empty(),
                                  call("ListAccountStates"));
}

AccountDetails ClientImpl::GetAccountDetails(const std::string& account_id) {
    return clients::call_or_throw(stub(), &Stub::GetAccountDetails, account_id_of(account_id),
                                  call("GetAccountDetails"));
}

std::unique_ptr<Client> create_client(Executor& executor, const Endpoint& endpoint) {
    return std::make_unique<ClientImpl>(executor, endpoint,
                                        logging::getLogger("AccountManagerClient"));
}

}  // namespace vanta::accountmanager
