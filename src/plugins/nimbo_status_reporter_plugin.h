#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/nimbostatusreporter/nimbostatusreporter_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The cloud connection and the status of each cloud service, from the cloud
// status reporter; each service change it reports becomes a
// `nimbo_status_reporter_event` (published on the stream's reader thread).
class NimboStatusReporterPlugin {
  public:
    // The client talks to `nimbostatusreporter`, the catalogue's row of that
    // name.
    NimboStatusReporterPlugin(
        Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
        PluginRegistrar& registrar,
        const Endpoint& nimbostatusreporter = device_endpoints().nimbostatusreporter);
    NimboStatusReporterPlugin(const NimboStatusReporterPlugin&) = delete;
    NimboStatusReporterPlugin& operator=(const NimboStatusReporterPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status get_cloud_connectivity(grpc::ServerContext* context,
                                        const google::protobuf::Empty* request,
                                        vantaapi::CloudConnectivityResponse* response);
    grpc::Status get_nimbo_service_status(grpc::ServerContext* context,
                                          const vantaapi::NimboServiceRequest* request,
                                          vantaapi::NimboServiceStatus* response);

  private:
    void send_status_event(const nimbostatusreporter::Event& event);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<nimbostatusreporter::Client> client_;
};

}  // namespace vanta
