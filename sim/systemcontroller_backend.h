#pragma once

#include <mutex>

#include "pubsub.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::sim {

// The system controller: scripted replies, recorded requests, and its event
// stream.
//
// What it does itself: the device is RUNNING and starts AWAKE. It goes to
// standby and wakes up when told (standby(), wake_up(), or the bus messages
// "UXStandbyEvent" and "UXWakeUpEvent" given to hear()); each change of the
// state sends SYSTEM_STATE_CHANGED on the stream, and GetState answers the
// state with the reason of the last change.
class SystemControllerBackend final : public vanta::systemcontroller::SystemController::Service,
                                      public ScriptedBackend {
    using Empty = vanta::systemcontroller::Empty;
    using RequestStatus = vanta::systemcontroller::RequestStatus;
    using Reason = vanta::systemcontroller::SystemStateChangeReason;

  public:
    SystemControllerBackend();

    VANTA_SCRIPTED_OPERATION(GetState, Empty, vanta::systemcontroller::StateResponse)
    VANTA_SCRIPTED_OPERATION(GetDeviceState, Empty, vanta::systemcontroller::DeviceStateResponse)
    VANTA_SCRIPTED_OPERATION(ClearOobState, Empty, RequestStatus)
    VANTA_SCRIPTED_OPERATION(Reboot, vanta::systemcontroller::RebootOption, RequestStatus)
    VANTA_SIM_EVENT_STREAM(vanta::systemcontroller::Event,
                           vanta::systemcontroller::SubscriptionRequest)

  public:
    void standby(Reason reason = vanta::systemcontroller::USER_STANDBY);
    void wake_up(Reason reason = vanta::systemcontroller::USER_INTERACTION);
    // A message published on the bus; the controller acts on the UI's
    // standby and wake-up requests.
    void hear(const vanta::pubsub::PubSubMsg& message);

  private:
    grpc::Status state(const Empty& request, vanta::systemcontroller::StateResponse& response);
    grpc::Status device_state(const Empty& request,
                              vanta::systemcontroller::DeviceStateResponse& response);
    void change(vanta::systemcontroller::SystemState state, Reason reason);

    std::mutex mutex_;
    vanta::systemcontroller::StateResponse state_;
};

}  // namespace vanta::sim
