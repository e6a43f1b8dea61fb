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

ClientImpl::ClientImpl(Executor& executor, const std::string& address,
                       std::chrono::milliseconds timeout, logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), executor_(executor), logger_(logger) {}

// The stream goes before the stub: its reader thread uses both.
ClientImpl::~ClientImpl() {
    observing_ = false;
    stream_manager_.reset();
}

clients::UnaryCall ClientImpl::call(const char* operation) const {
    return {kAccountManagerServiceName, operation, timeout_, logger_};
}

// Event subscription.

void ClientImpl::SetObserver(const StateCallback& on_state, const Notification& on_ready) {
    // The subscription the three-callback form is about to make.
    const std::uint64_t subscription = subscription_ + 1;
    SetObserver(on_state, on_ready, [this, subscription, on_state, on_ready] {
        if (observing_ && subscription_ == subscription) {
            reconnect_stream(subscription, on_state, on_ready);
        }
    });
}

void ClientImpl::SetObserver(const StateCallback& on_state, const Notification& on_ready,
                             const Notification& on_closed) {
    if (stream_manager_) {
        throw std::runtime_error(
            "accountmanager::SetObserver : Only one observer per client at a time");
    }
    ++subscription_;
    observing_ = true;
    auto open_subscription = [this](grpc::ClientContext* context) {
        auto stream = stub().Subscribe(context);
        SubscriptionRequest request;
        request.set_unsubscribe(false);
        stream->Write(request);
        return stream;
    };
    auto deliver = [this, on_state, on_ready](const Event& event) {
        // An exception must not end the reader thread (and the daemon with it).
        try {
            observed_event_handler(on_state, on_ready, event);
        } catch (const std::exception& e) {
            logger_.error("{}: {}", "observed_event_handler", e.what());
        }
    };
    stream_manager_ =
        std::make_unique<StreamManager>(channel(), open_subscription, deliver, on_closed);
}

void ClientImpl::RemoveObserver() {
    observing_ = false;
    if (!stream_manager_) {
        return;
    }
    SubscriptionRequest request;
    request.set_unsubscribe(true);
    stream_manager_->write(request);
    stream_manager_.reset();
}

void ClientImpl::observed_event_handler(const StateCallback& on_state, const Notification& on_ready,
                                        const Event& event) {
    if (!on_state || !on_ready) {
        logger_.error("{}: Unable to handle event, callback is null", "observed_event_handler");
        return;
    }
    const std::string& account_id = event.account_id().id();
    switch (event.what()) {
        case UNKNOWN_CHANGE:
            logger_.info("observed_event_handler UNKNOWN_CHANGE");
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

// Runs on the reader thread of the stream that ended.
void ClientImpl::reconnect_stream(std::uint64_t subscription, const StateCallback& on_state,
                                  const Notification& on_ready) {
    logger_.info("reconnect_stream");
    if (!on_state || !on_ready) {
        logger_.error("reconnect_stream failed");
        return;
    }
    std::weak_ptr<char> alive = alive_;
    executor_.add_work(
        [this, alive, subscription, on_state, on_ready] {
            // The client may be gone, or observation removed or replaced,
            // while the work waited in the queue.
            if (alive.expired() || !observing_ || subscription_ != subscription) {
                return;
            }
            RemoveObserver();
            refresh_channel();
            SetObserver(on_state, on_ready);
        },
        0, "reconnect_stream");
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
        logger_.error("{}: {}", "GetBootstrapState", e.what());
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

std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout) {
    return std::make_unique<ClientImpl>(executor, kAccountManagerAddress, timeout,
                                        logging::getLogger("AccountManagerClient"));
}

}  // namespace vanta::accountmanager
