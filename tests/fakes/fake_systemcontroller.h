#pragma once

#include "fakes/fake_backend.h"
#include "systemcontroller.grpc.pb.h"

namespace vanta::testing {

// The system controller's unary operations.
class FakeSystemController final : public vanta::systemcontroller::SystemController::Service,
                                   public FakeBackend {
    using Empty = vanta::systemcontroller::Empty;
    using RequestStatus = vanta::systemcontroller::RequestStatus;

  public:
    VANTA_FAKE_OPERATION(GetState, Empty, vanta::systemcontroller::StateResponse)
    VANTA_FAKE_OPERATION(GetDeviceState, Empty, vanta::systemcontroller::DeviceStateResponse)
    VANTA_FAKE_OPERATION(ClearOobState, Empty, RequestStatus)
    VANTA_FAKE_OPERATION(Reboot, vanta::systemcontroller::RebootOption, RequestStatus)
};

}  // namespace vanta::testing
