#pragma once

#include <map>
#include <mutex>
#include <string>

#include <google/protobuf/empty.pb.h>

#include "accountmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The account manager: the device starts with one activated, registered
// cloud account; CreateAccount activates another at once and announces its
// activation and registration on the `events` stream, DeleteAccount removes
// one and announces that. A scripted reply or failure overrides this
// behaviour.
class AccountManagerBackend final : public vanta::accountmanager::AccountManager::Service,
                                    public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using AccountId = vanta::accountmanager::AccountId;
    using AccountState = vanta::accountmanager::AccountState;
    using Event = vanta::accountmanager::Event;
    using SubscriptionRequest = vanta::accountmanager::SubscriptionRequest;
    using ActivationRequest = vanta::accountmanager::ActivationRequest;
    using ActivationResponse = vanta::accountmanager::ActivationResponse;

  public:
    AccountManagerBackend() { add_account_locked("nimbo", vanta::accountmanager::NIMBO, {}); }

    grpc::Status CreateAccount(grpc::ServerContext* context, const ActivationRequest* request,
                               ActivationResponse* response) override {
        return answer(*context, "CreateAccount", *request, response, [&] {
            std::string id;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                switch (request->request_case()) {
                    case ActivationRequest::kNimboActivation:
                        if (request->nimbo_activation().activation_code().empty()) {
                            break;
                        }
                        id = add_account_locked("nimbo", vanta::accountmanager::NIMBO, {});
                        break;
                    case ActivationRequest::kKrellActivation:
                        if (request->krell_activation().tftp_ip_address().empty()) {
                            break;
                        }
                        id = add_account_locked("krell", vanta::accountmanager::KRELL,
                                                request->krell_activation().tftp_ip_address(0));
                        break;
                    case ActivationRequest::kOrvaActivation:
                        if (request->orva_activation().username().empty()) {
                            break;
                        }
                        id = add_account_locked("orva", vanta::accountmanager::ORVA, {});
                        break;
                    default:
                        break;
                }
            }
            if (id.empty()) {
                response->set_status(ActivationResponse::MALFORMED_REQUEST);
                return grpc::Status::OK;
            }
            response->mutable_account_id()->set_id(id);
            response->set_status(ActivationResponse::STARTED);
            announce(id, vanta::accountmanager::ACCOUNT_ACTIVATION_CHANGED);
            announce(id, vanta::accountmanager::ACCOUNT_REGISTRATION_CHANGED);
            return grpc::Status::OK;
        });
    }
    grpc::Status DeleteAccount(grpc::ServerContext* context, const AccountId* request,
                               Empty* response) override {
        return answer(*context, "DeleteAccount", *request, response, [&] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (accounts_.erase(request->id()) == 0) {
                    return no_account(*request);
                }
                servers_.erase(request->id());
            }
            announce(request->id(), vanta::accountmanager::ACCOUNT_ACTIVATION_CHANGED);
            return grpc::Status::OK;
        });
    }
    grpc::Status GetAccountState(grpc::ServerContext* context, const AccountId* request,
                                 AccountState* response) override {
        return answer(*context, "GetAccountState", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = accounts_.find(request->id());
            if (found == accounts_.end()) {
                return no_account(*request);
            }
            *response = found->second;
            return grpc::Status::OK;
        });
    }
    grpc::Status ListAccountStates(grpc::ServerContext* context, const Empty* request,
                                   vanta::accountmanager::AccountStateList* response) override {
        return answer(*context, "ListAccountStates", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& [id, state] : accounts_) {
                *response->add_state_list() = state;
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status GetAccountDetails(grpc::ServerContext* context, const AccountId* request,
                                   vanta::accountmanager::AccountDetails* response) override {
        return answer(*context, "GetAccountDetails", *request, response, [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = accounts_.find(request->id());
            if (found == accounts_.end()) {
                return no_account(*request);
            }
            switch (found->second.account_type()) {
                case vanta::accountmanager::KRELL:
                    response->mutable_krell_account_details()->set_server(servers_[request->id()]);
                    break;
                case vanta::accountmanager::ORVA:
                    response->mutable_orva_account_details();
                    break;
                default:
                    response->mutable_nimbo_account_details();
                    break;
            }
            return grpc::Status::OK;
        });
    }
    grpc::Status GetBootstrapState(grpc::ServerContext* context, const Empty* request,
                                   vanta::accountmanager::BootstrapState* response) override {
        return answer(*context, "GetBootstrapState", *request, response, [&] {
            response->set_state(vanta::accountmanager::BootstrapState::READY);
            return grpc::Status::OK;
        });
    }

    grpc::Status Subscribe(grpc::ServerContext* context,
                           grpc::ServerReaderWriter<Event, SubscriptionRequest>* stream) override {
        return events.serve(context, stream);
    }

    EventStreams<Event, SubscriptionRequest> events;

  private:
    static grpc::Status no_account(const AccountId& id) {
        return grpc::Status(grpc::StatusCode::NOT_FOUND, "no account " + id.id());
    }

    // A new activated, registered account: "<prefix>-<n>", n counting every
    // account made. REQUIRES: mutex_ held.
    std::string add_account_locked(const std::string& prefix,
                                   vanta::accountmanager::AccountType type,
                                   const std::string& server) {
        const std::string id = prefix + "-" + std::to_string(next_number_++);
        AccountState& state = accounts_[id];
        state.mutable_account_id()->set_id(id);
        state.set_account_type(type);
        state.mutable_activation_state()->set_state(
            vanta::accountmanager::ActivationState::ACTIVATED);
        state.mutable_registration_state()->set_state(
            vanta::accountmanager::RegistrationState::REGISTERED);
        if (!server.empty()) {
            servers_[id] = server;
        }
        return id;
    }

    void announce(const std::string& id, vanta::accountmanager::EventType what) {
        Event event;
        event.mutable_account_id()->set_id(id);
        event.set_what(what);
        events.publish(event);
    }

    std::mutex mutex_;
    std::map<std::string, AccountState> accounts_;
    std::map<std::string, std::string> servers_;
    int next_number_ = 1;
};

}  // namespace vanta::sim
