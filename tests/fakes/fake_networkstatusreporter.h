#pragma once

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "networkstatusreporter.grpc.pb.h"

namespace vanta::testing {

// The network status reporter: scripted replies, recorded requests, and its event stream.
class FakeNetworkStatusReporter final
    : public networkstatusreporter::NetworkStatusReporter::Service,
      public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetNetworkStatusReport, networkstatusreporter::Empty,
                             networkstatusreporter::NetworkStatusReport)
    VANTA_FAKE_EVENT_STREAM(networkstatusreporter::Event,
                            networkstatusreporter::SubscriptionRequest)
};

}  // namespace vanta::testing
