#pragma once

#include "sim/event_streams.h"
#include "sim/scripted_backend.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::sim {

// The system controller: scripted replies, recorded requests, and its event stream.
class SystemControllerBackend final : public vanta::systemcontroller::SystemController::Service,
                                      public ScriptedBackend {
    using Empty = vanta::systemcontroller::Empty;
    using RequestStatus = vanta::systemcontroller::RequestStatus;

  public:
    VANTA_SCRIPTED_OPERATION(GetState, Empty, vanta::systemcontroller::StateResponse)
    VANTA_SCRIPTED_OPERATION(GetDeviceState, Empty, vanta::systemcontroller::DeviceStateResponse)
    VANTA_SCRIPTED_OPERATION(ClearOobState, Empty, RequestStatus)
    VANTA_SCRIPTED_OPERATION(Reboot, vanta::systemcontroller::RebootOption, RequestStatus)
    VANTA_SIM_EVENT_STREAM(vanta::systemcontroller::Event,
                           vanta::systemcontroller::SubscriptionRequest)
};

}  // namespace vanta::sim
