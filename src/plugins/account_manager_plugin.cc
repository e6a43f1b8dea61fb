#include "plugins/account_manager_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

AccountManagerPlugin::AccountManagerPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                           PluginRegistrar&) {}

grpc::Status AccountManagerPlugin::get_account_details(grpc::ServerContext*,
                                                       const vantaapi::AccountID*,
                                                       vantaapi::AccountDetails*) {
    return not_available_yet("AccountManagerPlugin::get_account_details");
}

grpc::Status AccountManagerPlugin::list_account_states(grpc::ServerContext*,
                                                       const google::protobuf::Empty*,
                                                       vantaapi::AccountStateList*) {
    return not_available_yet("AccountManagerPlugin::list_account_states");
}

grpc::Status AccountManagerPlugin::create_account(grpc::ServerContext*,
                                                  const vantaapi::ActivationRequest*,
                                                  vantaapi::ActivationResponse*) {
    return not_available_yet("AccountManagerPlugin::create_account");
}

grpc::Status AccountManagerPlugin::delete_account(grpc::ServerContext*, const vantaapi::AccountID*,
                                                  vantaapi::RequestStatus*) {
    return not_available_yet("AccountManagerPlugin::delete_account");
}

}  // namespace vanta
