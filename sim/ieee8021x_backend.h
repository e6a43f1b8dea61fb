#pragma once

#include <google/protobuf/empty.pb.h>

#include "ieee8021x.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The wired 802.1X service.
class Ieee8021xBackend final : public vanta::ieee8021x::Ieee8021x::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetIeee8021xConfig, google::protobuf::Empty,
                             vanta::ieee8021x::Ieee8021xConfigResponse)
    VANTA_SCRIPTED_OPERATION(GetIeee8021xState, google::protobuf::Empty,
                             vanta::ieee8021x::Ieee8021xStateResponse)
    VANTA_SCRIPTED_OPERATION(SetIeee8021xState, vanta::ieee8021x::Ieee8021xState,
                             vanta::ieee8021x::RequestStatus)
    VANTA_SCRIPTED_OPERATION(SetIeee8021xConfig, vanta::ieee8021x::Ieee8021xConfig,
                             vanta::ieee8021x::RequestStatus)
};

}  // namespace vanta::sim
