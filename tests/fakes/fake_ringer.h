#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "ringer.grpc.pb.h"

namespace vanta::testing {

// The ringer.
class FakeRinger final : public vanta::ringer::Ringer::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(StartRinger, vanta::ringer::RingerData, vanta::ringer::RequestStatus)
    VANTA_SCRIPTED_OPERATION(StopRinger, google::protobuf::Empty, vanta::ringer::RequestStatus)
};

}  // namespace vanta::testing
