#pragma once

#include <google/protobuf/empty.pb.h>

#include "ringer.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The ringer.
class RingerBackend final : public vanta::ringer::Ringer::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(StartRinger, vanta::ringer::RingerData, vanta::ringer::RequestStatus)
    VANTA_SCRIPTED_OPERATION(StopRinger, google::protobuf::Empty, vanta::ringer::RequestStatus)
};

}  // namespace vanta::sim
