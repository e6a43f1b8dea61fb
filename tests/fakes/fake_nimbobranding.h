#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "nimbobranding.grpc.pb.h"

namespace vanta::testing {

// The branding service: brand images, carousel image, signage server, and its
// event stream.
class FakeNimboBranding final : public vanta::nimbobranding::NimboBranding::Service,
                                public ScriptedBackend,
                                public FakeEventStreams<vanta::nimbobranding::Event,
                                                        vanta::nimbobranding::SubscriptionRequest> {
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

}  // namespace vanta::testing
