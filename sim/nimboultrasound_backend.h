#pragma once

#include <google/protobuf/empty.pb.h>

#include "nimboultrasound.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The ultrasound pairing service: scripted replies, recorded requests.
class NimboUltrasoundBackend final : public nimboultrasound::NimboUltraSoundSvc::Service,
                                     public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(Enable, google::protobuf::Empty, nimboultrasound::Response)
    VANTA_SCRIPTED_OPERATION(Disable, google::protobuf::Empty, nimboultrasound::Response)
    VANTA_SCRIPTED_OPERATION(GetServiceState, google::protobuf::Empty,
                             nimboultrasound::StateResponse)
    VANTA_SCRIPTED_OPERATION(GetPairedUsers, google::protobuf::Empty, nimboultrasound::PairedUsers)
    VANTA_SCRIPTED_OPERATION(GetLatestPairingToken, google::protobuf::Empty,
                             nimboultrasound::TokenResponse)
    VANTA_SCRIPTED_OPERATION(GetGuestToken, google::protobuf::Empty, nimboultrasound::TokenResponse)
    VANTA_SCRIPTED_OPERATION(GetManualPairPin, google::protobuf::Empty,
                             nimboultrasound::PinResponse)
};

}  // namespace vanta::sim
