#pragma once

#include <google/protobuf/empty.pb.h>

#include "accesspoint.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The access-point service: scripted replies, recorded requests.
class AccessPointBackend final : public accesspoint::AccessPoint::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAPModeState, google::protobuf::Empty, accesspoint::StateResponse)
    VANTA_SCRIPTED_OPERATION(SetAPModeState, accesspoint::StateRequest,
                             accesspoint::APModeEnableResponse)
    VANTA_SCRIPTED_OPERATION(GetLocalAPConfig, google::protobuf::Empty,
                             accesspoint::LocalAPConfiguration)
    VANTA_SCRIPTED_OPERATION(SetLocalAPConfig, accesspoint::LocalAPConfiguration,
                             accesspoint::RequestStatus)
};

}  // namespace vanta::sim
