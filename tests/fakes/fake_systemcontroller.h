#pragma once

#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::testing {

// The system controller: scripted replies, recorded requests, and its event stream.
class FakeSystemController final : public vanta::systemcontroller::SystemController::Service,
                                   public ScriptedBackend {
    using Empty = vanta::systemcontroller::Empty;
    using RequestStatus = vanta::systemcontroller::RequestStatus;

  public:
    VANTA_SCRIPTED_OPERATION(GetState, Empty, vanta::systemcontroller::StateResponse)
    VANTA_SCRIPTED_OPERATION(GetDeviceState, Empty, vanta::systemcontroller::DeviceStateResponse)
    VANTA_SCRIPTED_OPERATION(ClearOobState, Empty, RequestStatus)
    VANTA_SCRIPTED_OPERATION(Reboot, vanta::systemcontroller::RebootOption, RequestStatus)
    VANTA_FAKE_EVENT_STREAM(vanta::systemcontroller::Event,
                            vanta::systemcontroller::SubscriptionRequest)
};

}  // namespace vanta::testing
