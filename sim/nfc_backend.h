#pragma once

#include <google/protobuf/empty.pb.h>

#include "nfc.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The NFC service: the card state, and its event stream.
class NfcBackend final : public vanta::nfc::Nfc::Service,
                         public ScriptedBackend,
                         public EventStreams<vanta::nfc::Event, vanta::nfc::SubscriptionRequest> {
  public:
    VANTA_SCRIPTED_OPERATION(GetCardState, google::protobuf::Empty, vanta::nfc::CardStateResponse)

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::nfc::Event, vanta::nfc::SubscriptionRequest>* stream)
        override {
        return serve(context, stream);
    }
};

}  // namespace vanta::sim
