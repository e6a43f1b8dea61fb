#pragma once

#include <google/protobuf/empty.pb.h>

#include "nimbobranding.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The branding service: brand images, carousel image, signage server, and its
// event stream.
class NimboBrandingBackend final
    : public vanta::nimbobranding::NimboBranding::Service,
      public ScriptedBackend,
      public EventStreams<vanta::nimbobranding::Event, vanta::nimbobranding::SubscriptionRequest> {
    using Empty = google::protobuf::Empty;

  public:
    VANTA_SCRIPTED_OPERATION(GetNimboBranding, Empty, vanta::nimbobranding::BrandingList)
    VANTA_SCRIPTED_OPERATION(GetCarouselImage, Empty, vanta::nimbobranding::CarouselImage)
    VANTA_SCRIPTED_OPERATION(GetSignageServer, Empty, vanta::nimbobranding::ServerInfo)
    VANTA_SCRIPTED_OPERATION(SetSignageServer, vanta::nimbobranding::ServerInfo, Empty)
    VANTA_SCRIPTED_OPERATION(StopSignageServer, Empty, Empty)
    VANTA_SCRIPTED_OPERATION(GetSignageState, Empty, vanta::nimbobranding::SignageState)

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::nimbobranding::Event,
                                 vanta::nimbobranding::SubscriptionRequest>* stream) override {
        return serve(context, stream);
    }
};

}  // namespace vanta::sim
