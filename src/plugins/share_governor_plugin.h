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

class ShareGovernorPlugin {
  public:
    ShareGovernorPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
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
};

}  // namespace vanta
