#pragma once

#include "networkstatusreporter.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The network status reporter: scripted replies, recorded requests, and its event stream.
class NetworkStatusReporterBackend final
    : public networkstatusreporter::NetworkStatusReporter::Service,
      public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetNetworkStatusReport, networkstatusreporter::Empty,
                             networkstatusreporter::NetworkStatusReport)
    VANTA_SIM_EVENT_STREAM(networkstatusreporter::Event, networkstatusreporter::SubscriptionRequest)
};

}  // namespace vanta::sim
