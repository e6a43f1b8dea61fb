#pragma once

#include <memory>
#include <string>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/accountmanager/accountmanager_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The device's service accounts: provisioning, state and details from the
// account manager, and an account event whenever an account's state or
// details change.
class AccountManagerPlugin {
  public:
    // The client talks to `account_manager`, the catalogue's account-manager
    // row.
    AccountManagerPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                         PluginRegistrar& registrar,
                         const Endpoint& account_manager = device_endpoints().account_manager);
    AccountManagerPlugin(const AccountManagerPlugin&) = delete;
    AccountManagerPlugin& operator=(const AccountManagerPlugin&) = delete;

    // API operations served by this plugin. A backend error becomes the
    // answer's status and the reply stays empty.
    grpc::Status get_account_details(grpc::ServerContext* context,
                                     const vantaapi::AccountID* request,
                                     vantaapi::AccountDetails* response);
    grpc::Status list_account_states(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::AccountStateList* response);
    // INVALID_ARGUMENT, without asking the backend, for a request of no kind.
    grpc::Status create_account(grpc::ServerContext* context,
                                const vantaapi::ActivationRequest* request,
                                vantaapi::ActivationResponse* response);
    grpc::Status delete_account(grpc::ServerContext* context, const vantaapi::AccountID* request,
                                vantaapi::RequestStatus* response);

  private:
    // Runs on the client's stream thread.
    void event_handler(accountmanager::StateChange change, const std::string& account_id);
    void publish_account_event(vantaapi::AccountEvent::ChangeType what,
                               const std::string& account_id);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    // Last: its stream thread calls into the members above.
    std::unique_ptr<accountmanager::Client> client_;
};

}  // namespace vanta
