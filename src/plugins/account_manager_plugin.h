#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class AccountManagerPlugin {
  public:
    AccountManagerPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                         PluginRegistrar& registrar);
    AccountManagerPlugin(const AccountManagerPlugin&) = delete;
    AccountManagerPlugin& operator=(const AccountManagerPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status get_account_details(grpc::ServerContext* context,
                                     const vantaapi::AccountID* request,
                                     vantaapi::AccountDetails* response);
    grpc::Status list_account_states(grpc::ServerContext* context,
                                     const google::protobuf::Empty* request,
                                     vantaapi::AccountStateList* response);
    grpc::Status create_account(grpc::ServerContext* context,
                                const vantaapi::ActivationRequest* request,
                                vantaapi::ActivationResponse* response);
    grpc::Status delete_account(grpc::ServerContext* context, const vantaapi::AccountID* request,
                                vantaapi::RequestStatus* response);
};

}  // namespace vanta
