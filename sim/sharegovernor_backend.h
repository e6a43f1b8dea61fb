#pragma once

#include <google/protobuf/empty.pb.h>

#include "sharegovernor.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The share governor: scripted unary answers, and `events` for its Subscribe
// stream.
class ShareGovernorBackend final : public vanta::sharegovernor::ShareGovernor::Service,
                                   public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using Event = vanta::sharegovernor::Event;
    using SubscriptionRequest = vanta::sharegovernor::SubscriptionRequest;

  public:
    VANTA_SCRIPTED_OPERATION(StopAllShares, Empty, Empty)
    VANTA_SCRIPTED_OPERATION(StartLocalPreview, Empty, Empty)
    VANTA_SCRIPTED_OPERATION(StartWiredShare, Empty, Empty)
    VANTA_SCRIPTED_OPERATION(GetActiveShares, Empty, vanta::sharegovernor::ActiveShares)

    grpc::Status Subscribe(grpc::ServerContext* context,
                           grpc::ServerReaderWriter<Event, SubscriptionRequest>* stream) override {
        return events.serve(context, stream);
    }

    EventStreams<Event, SubscriptionRequest> events;
};

}  // namespace vanta::sim
