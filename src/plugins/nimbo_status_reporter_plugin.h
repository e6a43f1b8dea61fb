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

class NimboStatusReporterPlugin {
  public:
    NimboStatusReporterPlugin(Executor& executor,
                              GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                              PluginRegistrar& registrar);
    NimboStatusReporterPlugin(const NimboStatusReporterPlugin&) = delete;
    NimboStatusReporterPlugin& operator=(const NimboStatusReporterPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status get_cloud_connectivity(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        vantaapi::CloudConnectivityResponse* response);
    grpc::Status get_nimbo_service_status(grpc::ServerContext* context,
                                          const vantaapi::NimboServiceRequest* request,
                                          vantaapi::NimboServiceStatus* response);
};

}  // namespace vanta
