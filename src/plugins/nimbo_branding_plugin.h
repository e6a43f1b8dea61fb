#pragma once

#include <memory>

#include <google/protobuf/empty.pb.h>
#include <grpcpp/grpcpp.h>

#include "clients/nimbobranding/nimbobranding_client.h"
#include "plugins/plugin_registrar.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server_publisher.h"
#include "runtime/executor/executor.h"
#include "vantaapi.pb.h"
#include "vantaapievents.pb.h"
#include "vantaapimessages.pb.h"

namespace vanta {

// The room's branding from the branding service: brand images, the carousel
// image and the digital signage, and `branding_event` whenever one of them
// changes. The service's changes arrive on its stream's reader thread.
class NimboBrandingPlugin {
  public:
    // The client talks to `nimbobranding`, the catalogue's row of that name.
    NimboBrandingPlugin(Executor& executor, GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                        PluginRegistrar& registrar,
                        const Endpoint& nimbobranding = device_endpoints().nimbobranding);
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

  private:
    void send_branding_event(nimbobranding::EventType what);

    GrpcServerPublisher<vantaapi::VantaEvent>& publisher_;
    std::unique_ptr<nimbobranding::Client> client_;
};

}  // namespace vanta
