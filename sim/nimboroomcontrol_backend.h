#pragma once

#include <google/protobuf/empty.pb.h>

#include "nimboroomcontrol.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The room control service: scripted replies, recorded requests.
class NimboRoomControlBackend final : public nimboroomcontrol::NimboRoomControl::Service,
                                      public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using Response = nimboroomcontrol::Response;

  public:
    VANTA_SCRIPTED_OPERATION(IncreaseVolume, Empty, Response)
    VANTA_SCRIPTED_OPERATION(DecreaseVolume, Empty, Response)
    VANTA_SCRIPTED_OPERATION(SetVolume, nimboroomcontrol::VolumeValue, Response)
    VANTA_SCRIPTED_OPERATION(MuteMicrophone, Empty, Response)
    VANTA_SCRIPTED_OPERATION(UnmuteMicrophone, Empty, Response)
    VANTA_SCRIPTED_OPERATION(GetSpaceInfo, Empty, nimboroomcontrol::SpaceDeviceInfo)
};

}  // namespace vanta::sim
