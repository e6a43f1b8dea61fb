#pragma once

#include <google/protobuf/empty.pb.h>

#include "reset.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The reset service.
class ResetBackend final : public vanta::reset::Reset::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(FactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(RequestFactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(Shutdown, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(RestartNetwork, google::protobuf::Empty, vanta::reset::Response)
};

}  // namespace vanta::sim
