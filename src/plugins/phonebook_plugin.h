#pragma once

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "plugins/plugin_registrar.h"
#include "rpc/server/grpc_server_publisher.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

class PhonebookPlugin {
  public:
    PhonebookPlugin(GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                    PluginRegistrar& registrar);
    PhonebookPlugin(const PhonebookPlugin&) = delete;
    PhonebookPlugin& operator=(const PhonebookPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status search(grpc::ServerContext* context,
                        const vantaapi::PhonebookSearchRequest* request,
                        vantaapi::PhonebookSearchResponse* response);
};

}  // namespace vanta
