#pragma once

#include "nimbostatusreporter.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The cloud status reporter: scripted replies, recorded requests, and its
// event stream.
class NimboStatusReporterBackend final : public nimbostatusreporter::NimboStatusReporter::Service,
                                         public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(SetRefreshTokenStatus, nimbostatusreporter::RefreshTokenEvent,
                             nimbostatusreporter::Response)
    VANTA_SCRIPTED_OPERATION(CheckCloudConnectivity, nimbostatusreporter::Empty,
                             nimbostatusreporter::CloudConnectivityResponse)
    VANTA_SCRIPTED_OPERATION(GetNimboServiceStatus, nimbostatusreporter::NimboServiceStatus,
                             nimbostatusreporter::NimboServiceStatus)
    VANTA_SIM_EVENT_STREAM(nimbostatusreporter::Event, nimbostatusreporter::SubscriptionRequest)
};

}  // namespace vanta::sim
