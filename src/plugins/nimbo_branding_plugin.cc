#include "plugins/nimbo_branding_plugin.h"

#include "rpc/client/grpc_exception_handler.h"

namespace vanta {

namespace {

using Change = vantaapi::BrandingEvent;

// The service numbers its changes after its own "stream started"; the API
// has no such change.
Change::ChangeType to_api_change(nimbobranding::EventType what) {
    switch (what) {
        case nimbobranding::NIMBO_BRANDING_CHANGED:
            return Change::NIMBO_BRANDING_CHANGED;
        case nimbobranding::CAROUSEL_IMAGE_CHANGED:
            return Change::CAROUSEL_IMAGE_CHANGED;
        case nimbobranding::SIGNAGE_SERVER_CHANGED:
            return Change::SIGNAGE_SERVER_CHANGED;
        case nimbobranding::RENDER_IMAGES:
            return Change::RENDER_IMAGES;
        case nimbobranding::RENDER_VIDEO:
            return Change::RENDER_VIDEO;
        case nimbobranding::SIGNAGE_STARTED:
            return Change::SIGNAGE_STARTED;
        case nimbobranding::SIGNAGE_STOPPED:
            return Change::SIGNAGE_STOPPED;
        default:
            return Change::UNKNOWN_CHANGE;
    }
}

// Both sides number the brand image kinds alike.
vantaapi::BrandImage::BrandType to_api_brand_type(int type) {
    return vantaapi::BrandImage::BrandType_IsValid(type)
               ? static_cast<vantaapi::BrandImage::BrandType>(type)
               : vantaapi::BrandImage::UNKNOWN;
}

}  // namespace

NimboBrandingPlugin::NimboBrandingPlugin(Executor& executor,
                                         GrpcServerPublisher<vantaapi::VantaEvent>& publisher,
                                         PluginRegistrar&, const Endpoint& nimbobranding)
    : publisher_(publisher), client_(nimbobranding::create_client(executor, nimbobranding)) {
    client_->SetObserver(
        [this](const nimbobranding::EventType& what) { send_branding_event(what); }, [] {});
}

void NimboBrandingPlugin::send_branding_event(nimbobranding::EventType what) {
    vantaapi::VantaEvent event;
    event.mutable_branding_event()->set_what(to_api_change(what));
    publisher_.publish(event);
}

grpc::Status NimboBrandingPlugin::get_nimbo_branding(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::BrandingList* response) {
    nimbobranding::BrandingList brands;
    const grpc::Status status =
        grpc_exception_handler("GetNimboBranding", [&] { brands = client_->GetNimboBranding(); });
    for (const nimbobranding::BrandImage& brand : brands.brands()) {
        vantaapi::BrandImage& image = *response->add_brands();
        image.set_type(to_api_brand_type(brand.type()));
        image.set_file(brand.file());
    }
    return status;
}

grpc::Status NimboBrandingPlugin::get_carousel_image(grpc::ServerContext*,
                                                     const google::protobuf::Empty*,
                                                     vantaapi::CarouselImage* response) {
    std::string file;
    const grpc::Status status =
        grpc_exception_handler("GetCarouselImage", [&] { file = client_->GetCarouselImage(); });
    response->set_file(file);
    return status;
}

grpc::Status NimboBrandingPlugin::get_signage_state(grpc::ServerContext*,
                                                    const google::protobuf::Empty*,
                                                    vantaapi::SignageState* response) {
    nimbobranding::SignageState::State state = nimbobranding::SignageState::UNAVAILABLE;
    const grpc::Status status =
        grpc_exception_handler("GetSignageState", [&] { state = client_->GetSignageState(); });
    response->set_state(state == nimbobranding::SignageState::AVAILABLE
                            ? vantaapi::SignageState::AVAILABLE
                            : vantaapi::SignageState::UNAVAILABLE);
    return status;
}

}  // namespace vanta
