#pragma once

#include "fakes/scripted_backend.h"
#include "networkstatusreporter.grpc.pb.h"

namespace vanta::testing {

// The network status reporter: scripted replies, recorded requests.
class FakeNetworkStatusReporter final
    : public networkstatusreporter::NetworkStatusReporter::Service,
      public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetNetworkStatusReport, networkstatusreporter::Empty,
                             networkstatusreporter::NetworkStatusReport)
};

}  // namespace vanta::testing
