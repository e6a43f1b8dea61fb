#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "ieee8021x.grpc.pb.h"

namespace vanta::testing {

// The wired 802.1X service.
class FakeIeee8021x final : public vanta::ieee8021x::Ieee8021x::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetIeee8021xConfig, google::protobuf::Empty,
                             vanta::ieee8021x::Ieee8021xConfigResponse)
    VANTA_SCRIPTED_OPERATION(GetIeee8021xState, google::protobuf::Empty,
                             vanta::ieee8021x::Ieee8021xStateResponse)
    VANTA_SCRIPTED_OPERATION(SetIeee8021xState, vanta::ieee8021x::Ieee8021xState,
                             vanta::ieee8021x::RequestStatus)
};

}  // namespace vanta::testing
