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

class NimboBrandingPlugin {
  public:
    NimboBrandingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar);
    NimboBrandingPlugin(const NimboBrandingPlugin&) = delete;
    NimboBrandingPlugin& operator=(const NimboBrandingPlugin&) = delete;
    // API operations served by this plugin.
    grpc::Status get_nimbo_branding(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::BrandingList* response);
    grpc::Status get_carousel_image(grpc::ServerContext* context,
                                    const google::protobuf::Empty* request,
                                    vantaapi::CarouselImage* response);
    grpc::Status get_signage_state(grpc::ServerContext* context,
                                   const google::protobuf::Empty* request,
                                   vantaapi::SignageState* response);
};

}  // namespace vanta
