#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/sharegovernor/sharegovernor_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The content shares, through the share governor: starting the wired share,
// stopping every share, the shares running now, and a `share_governor_event`
// whenever they change (published on the stream's reader thread).
class ShareGovernorPlugin {
  public:
    // The client talks to `share_governor`, the catalogue's row of that name.
    ShareGovernorPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar,
                        const Endpoint& share_governor = device_endpoints().share_governor);
    ShareGovernorPlugin(const ShareGovernorPlugin&) = delete;
    ShareGovernorPlugin& operator=(const ShareGovernorPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status StartWiredShare(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 google::protobuf::Empty* response);
    grpc::Status StopAllShares(grpc::ServerContext* context, const google::protobuf::Empty* request,
                               google::protobuf::Empty* response);
    grpc::Status GetActiveShares(grpc::ServerContext* context,
                                 const google::protobuf::Empty* request,
                                 vantaapi::ActiveShares* response);

  private:
    void send_share_governor_event(const sharegovernor::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<sharegovernor::Client> client_;
};

}  // namespace vanta
