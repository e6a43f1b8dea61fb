#include "plugins/account_manager_plugin.h"

#include <limits>
#include <stdexcept>
#include <vector>

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

// The two reserved sentinels of a generated enumeration raise `conversion`.
void refuse_sentinel(int value, const char* conversion) {
    if (value == std::numeric_limits<int>::min() || value == std::numeric_limits<int>::max()) {
        throw std::runtime_error(conversion);
    }
}

// An enumeration value as the API takes it: 0 to `highest` keep their
// number, any other value is the API's default (0).
template <typename ApiEnum>
ApiEnum kept_up_to(int value, int highest, const char* conversion) {
    refuse_sentinel(value, conversion);
    return value >= 0 && value <= highest ? static_cast<ApiEnum>(value) : ApiEnum{};
}

// The two sides number the activation reasons differently: by name, with the
// manager's CANT_CONNECT_TO_SERVER reported as a network error.
vantaapi::ActivationState::Reason to_api_activation_reason(int reason) {
    using Backend = accountmanager::ActivationState;
    using Api = vantaapi::ActivationState;
    refuse_sentinel(reason, "Unexpected AccountManager activation reason");
    switch (reason) {
        case Backend::UNKNOWN_ERROR:
            return Api::UNKNOWN_ERROR;
        case Backend::NETWORK_ERROR:
        case Backend::CANT_CONNECT_TO_SERVER:
            return Api::NETWORK_ERROR;
        case Backend::HTTP_ERROR:
            return Api::HTTP_ERROR;
        case Backend::INVALID_SERVER_CERTIFICATE:
            return Api::INVALID_SERVER_CERTIFICATE;
        case Backend::ACTIVATION_CODE_REJECTED:
            return Api::ACTIVATION_CODE_REJECTED;
        case Backend::TIMEDOUT:
            return Api::TIMEDOUT;
        case Backend::REFRESH_TOKEN_INVALIDATED:
            return Api::REFRESH_TOKEN_INVALIDATED;
        case Backend::TFTP_SERVER_NOT_CONFIGURED:
            return Api::TFTP_SERVER_NOT_CONFIGURED;
        case Backend::TFTP_SERVER_HOST_NOT_FOUND:
            return Api::TFTP_SERVER_HOST_NOT_FOUND;
        case Backend::DEVICE_NOT_PROVISIONED:
            return Api::DEVICE_NOT_PROVISIONED;
        case Backend::FAILED_TO_VERIFY_CONFIG_FILE:
            return Api::FAILED_TO_VERIFY_CONFIG_FILE;
        case Backend::INVALID_CONFIGURATION_FILE:
            return Api::INVALID_CONFIGURATION_FILE;
        case Backend::PERSONAL_ACCOUNT_UNSUPPORTED:
            return Api::PERSONAL_ACCOUNT_UNSUPPORTED;
        case Backend::BUSY_TRY_AGAIN_LATER:
            return Api::BUSY_TRY_AGAIN_LATER;
        default:
            return Api::NONE;
    }
}

void copy_account_state(const accountmanager::AccountState& from, vantaapi::AccountState& to) {
    to.mutable_account_id()->set_id(from.account_id().id());
    to.set_account_type(kept_up_to<vantaapi::AccountType>(
        from.account_type(), vantaapi::ORVA_ACCOUNT, "Unexpected AccountManager account type"));
    vantaapi::ActivationState& activation = *to.mutable_activation_state();
    activation.set_state(kept_up_to<vantaapi::ActivationState::State>(
        from.activation_state().state(), vantaapi::ActivationState::ACTIVATED,
        "Unexpected AccountManager activation state"));
    activation.set_reason(to_api_activation_reason(from.activation_state().reason()));
    vantaapi::RegistrationState& registration = *to.mutable_registration_state();
    registration.set_state(kept_up_to<vantaapi::RegistrationState::State>(
        from.registration_state().state(), vantaapi::RegistrationState::REGISTERED,
        "Unexpected AccountManager registration state"));
    registration.set_reason(kept_up_to<vantaapi::RegistrationState::Reason>(
        from.registration_state().reason(), vantaapi::RegistrationState::SERVICE_STOPPED,
        "Unexpected AccountManager registration reason"));
}

}  // namespace

AccountManagerPlugin::AccountManagerPlugin(Executor& executor,
                                           GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                           PluginRegistrar&, const Endpoint& account_manager)
    : publisher_(publisher), client_(accountmanager::create_client(executor, account_manager)) {
    client_->SetObserver(
        [this](accountmanager::StateChange change, const std::string& account_id) {
            event_handler(change, account_id);
        },
        [] {});
}

void AccountManagerPlugin::event_handler(accountmanager::StateChange change,
                                         const std::string& account_id) {
    switch (change) {
        case accountmanager::StateChange::AccountStateChanged:
            publish_account_event(vantaapi::AccountEvent::ACCOUNT_STATE, account_id);
            return;
        case accountmanager::StateChange::AccountDetailsChanged:
            publish_account_event(vantaapi::AccountEvent::ACCOUNT_DETAILS, account_id);
            return;
        default:
            // The bootstrap state is not an account's.
            return;
    }
}

void AccountManagerPlugin::publish_account_event(vantaapi::AccountEvent::ChangeType what,
                                                 const std::string& account_id) {
    vantaapi::VantaEvent event;
    vantaapi::AccountEvent& account = *event.mutable_account_event();
    account.set_what(what);
    account.mutable_account_id()->set_id(account_id);
    publisher_.publish(event);
}

grpc::Status AccountManagerPlugin::list_account_states(grpc::ServerContext*,
                                                       const google::protobuf::Empty*,
                                                       vantaapi::AccountStateList* response) {
    accountmanager::AccountStateList states;
    const grpc::Status status = grpc_exception_handler(
        "list_account_states", [&] { states = client_->ListAccountStates(); });
    if (status.ok()) {
        for (const accountmanager::AccountState& state : states.state_list()) {
            copy_account_state(state, *response->add_state_list());
        }
    }
    return status;
}

grpc::Status AccountManagerPlugin::create_account(grpc::ServerContext*,
                                                  const vantaapi::ActivationRequest* request,
                                                  vantaapi::ActivationResponse* response) {
    accountmanager::ActivationResponse answer;
    grpc::Status status;
    switch (request->request_case()) {
        case vantaapi::ActivationRequest::kNimboRequest:
            status = grpc_exception_handler("create_account", [&] {
                answer = client_->CreateNimboAccount(request->nimbo_request().activation_code());
            });
            break;
        case vantaapi::ActivationRequest::kKrellRequest: {
            const auto& addresses = request->krell_request().tftp_ip_address();
            status = grpc_exception_handler("create_account", [&] {
                answer = client_->CreateKrellAccount(
                    std::vector<std::string>(addresses.begin(), addresses.end()));
            });
            break;
        }
        case vantaapi::ActivationRequest::kOrvaRequest: {
            const vantaapi::OrvaActivationRequest& orva = request->orva_request();
            status = grpc_exception_handler("create_account", [&] {
                answer = client_->CreateOrvaAccount(orva.username(), orva.password(), orva.proxy());
            });
            break;
        }
        default:
            return grpc::Status(grpc::StatusCode::INVALID_ARGUMENT,
                                "CreateAccount did not recognize the type of request.");
    }
    if (status.ok()) {
        response->set_status(kept_up_to<vantaapi::ActivationResponse::Status>(
            answer.status(), vantaapi::ActivationResponse::MALFORMED_ACTIVATION_CODE,
            "Unexpected activation response status"));
        response->mutable_account_id()->set_id(answer.account_id().id());
    }
    return status;
}

grpc::Status AccountManagerPlugin::delete_account(grpc::ServerContext*,
                                                  const vantaapi::AccountID* request,
                                                  vantaapi::RequestStatus* response) {
    const grpc::Status status =
        grpc_exception_handler("delete_account", [&] { client_->DeleteAccount(request->id()); });
    response->set_success(status.ok());
    return status;
}

grpc::Status AccountManagerPlugin::get_account_details(grpc::ServerContext*,
                                                       const vantaapi::AccountID* request,
                                                       vantaapi::AccountDetails* response) {
    accountmanager::AccountDetails details;
    const grpc::Status status = grpc_exception_handler(
        "get_account_details", [&] { details = client_->GetAccountDetails(request->id()); });
    if (status.ok()) {
        // Nimbo and Orva accounts have no details: an empty server says so.
        response->mutable_krell_account_details()->set_server(
            details.krell_account_details().server());
    }
    return status;
}

}  // namespace vanta
