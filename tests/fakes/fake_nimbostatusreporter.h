#pragma once

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "nimbostatusreporter.grpc.pb.h"

namespace vanta::testing {

// The cloud status reporter: scripted replies, recorded requests, and its
// event stream.
class FakeNimboStatusReporter final : public nimbostatusreporter::NimboStatusReporter::Service,
                                      public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(SetRefreshTokenStatus, nimbostatusreporter::RefreshTokenEvent,
                             nimbostatusreporter::Response)
    VANTA_SCRIPTED_OPERATION(CheckCloudConnectivity, nimbostatusreporter::Empty,
                             nimbostatusreporter::CloudConnectivityResponse)
    VANTA_SCRIPTED_OPERATION(GetNimboServiceStatus, nimbostatusreporter::NimboServiceStatus,
                             nimbostatusreporter::NimboServiceStatus)
    VANTA_FAKE_EVENT_STREAM(nimbostatusreporter::Event, nimbostatusreporter::SubscriptionRequest)
};

}  // namespace vanta::testing
