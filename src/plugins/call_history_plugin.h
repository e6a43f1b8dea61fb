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

class CallHistoryPlugin {
  public:
    CallHistoryPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                      PluginRegistrar& registrar);
    CallHistoryPlugin(const CallHistoryPlugin&) = delete;
    CallHistoryPlugin& operator=(const CallHistoryPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status list_records(grpc::ServerContext* context,
                              const vantaapi::ListRecordsRequest* request,
                              vantaapi::ListRecordsResponse* response);
};

}  // namespace vanta
