#include "plugins/nimbo_branding_plugin.h"

#include "plugins/not_available.h"

namespace vanta {

NimboBrandingPlugin::NimboBrandingPlugin(Executor&, GrpcServerPublisher<vantaapi::VantaEvent>&,
                                         PluginRegistrar&) {}

grpc::Status NimboBrandingPlugin::get_nimbo_branding(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::BrandingList*) {
    return not_available_yet("NimboBrandingPlugin::get_nimbo_branding");
}

grpc::Status NimboBrandingPlugin::get_carousel_image(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::CarouselImage*) {
    return not_available_yet("NimboBrandingPlugin::get_carousel_image");
}

grpc::Status NimboBrandingPlugin::get_signage_state(grpc::ServerContext*,
                                                    const google::protobuf::Empty*,
                                                    vantaapi::SignageState*) {
    return not_available_yet("NimboBrandingPlugin::get_signage_state");
}

}  // namespace vanta
