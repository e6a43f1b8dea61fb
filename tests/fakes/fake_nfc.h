#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "nfc.grpc.pb.h"

namespace vanta::testing {

// The NFC service: the card state, and its event stream.
class FakeNfc final : public vanta::nfc::Nfc::Service,
                      public ScriptedBackend,
                      public FakeEventStreams<vanta::nfc::Event, vanta::nfc::SubscriptionRequest> {
  public:
    VANTA_SCRIPTED_OPERATION(GetCardState, google::protobuf::Empty, vanta::nfc::CardStateResponse)

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::nfc::Event, vanta::nfc::SubscriptionRequest>* stream)
        override {
        return serve(context, stream);
    }
};

}  // namespace vanta::testing
