#pragma once

#include <google/protobuf/empty.pb.h>

#include "accountmanager.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The account manager: scripted unary answers, and `events` for its
// Subscribe stream.
class AccountManagerBackend final : public vanta::accountmanager::AccountManager::Service,
                                    public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using AccountId = vanta::accountmanager::AccountId;
    using Event = vanta::accountmanager::Event;
    using SubscriptionRequest = vanta::accountmanager::SubscriptionRequest;

  public:
    VANTA_SCRIPTED_OPERATION(CreateAccount, vanta::accountmanager::ActivationRequest,
                             vanta::accountmanager::ActivationResponse)
    VANTA_SCRIPTED_OPERATION(DeleteAccount, AccountId, Empty)
    VANTA_SCRIPTED_OPERATION(GetAccountState, AccountId, vanta::accountmanager::AccountState)
    VANTA_SCRIPTED_OPERATION(ListAccountStates, Empty, vanta::accountmanager::AccountStateList)
    VANTA_SCRIPTED_OPERATION(GetAccountDetails, AccountId, vanta::accountmanager::AccountDetails)
    VANTA_SCRIPTED_OPERATION(GetBootstrapState, Empty, vanta::accountmanager::BootstrapState)

    grpc::Status Subscribe(grpc::ServerContext* context,
                           grpc::ServerReaderWriter<Event, SubscriptionRequest>* stream) override {
        return events.serve(context, stream);
    }

    EventStreams<Event, SubscriptionRequest> events;
};

}  // namespace vanta::sim
