#include "plugins/share_governor_plugin.h"

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

// Both sides number the share kinds and the sessions alike.
vantaapi::ShareType to_api_share_type(int type) {
    return vantaapi::ShareType_IsValid(type) ? static_cast<vantaapi::ShareType>(type)
                                             : vantaapi::UNKNOWN_SHARE_TYPE;
}

vantaapi::ParentSession to_api_parent_session(int session) {
    return vantaapi::ParentSession_IsValid(session) ? static_cast<vantaapi::ParentSession>(session)
                                                    : vantaapi::UNKNOWN_SESSION;
}

}  // namespace

ShareGovernorPlugin::ShareGovernorPlugin(Executor& executor,
                                         GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar&, const Endpoint& share_governor)
    : publisher_(publisher), client_(sharegovernor::create_client(executor, share_governor)) {
    client_->SetObserver(
        [this](const sharegovernor::Event& event) { send_share_governor_event(event); }, [] {});
}

void ShareGovernorPlugin::send_share_governor_event(const sharegovernor::Event& event) {
    if (!event.has_active_shares_changed()) {
        return;
    }
    vantaapi::VantaEvent published;
    published.mutable_share_governor_event()->mutable_active_shares_changed();
    publisher_.publish(published);
}

// The API's StartCallShare and StartWiredShare both come here.
grpc::Status ShareGovernorPlugin::StartWiredShare(grpc::ServerContext*,
                                                  const google::protobuf::Empty*,
                                                  google::protobuf::Empty*) {
    return grpc_exception_handler("StartWiredShare", [&] { client_->StartWiredShare(); });
}

// The API's StopCallShare and StopAllShares both come here.
grpc::Status ShareGovernorPlugin::StopAllShares(grpc::ServerContext*,
                                                const google::protobuf::Empty*,
                                                google::protobuf::Empty*) {
    return grpc_exception_handler("StopAllShares", [&] { client_->StopAllShares(); });
}

grpc::Status ShareGovernorPlugin::GetActiveShares(grpc::ServerContext*,
                                                  const google::protobuf::Empty*,
                                                  vantaapi::ActiveShares* response) {
    sharegovernor::ActiveShares shares;
    const grpc::Status status =
        grpc_exception_handler("GetActiveShares", [&] { shares = client_->GetActiveShares(); });
    for (const sharegovernor::Share& from : shares.shares()) {
        vantaapi::Share& to = *response->add_shares();
        to.set_id(from.id());
        to.set_type(to_api_share_type(from.type()));
        to.set_parent_session(to_api_parent_session(from.parent_session()));
        to.set_parent_session_id(static_cast<int32_t>(from.parent_session_id()));
    }
    return status;
}

}  // namespace vanta
