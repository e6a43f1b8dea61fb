#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "reset.grpc.pb.h"

namespace vanta::testing {

// The reset service.
class FakeReset final : public vanta::reset::Reset::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(FactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(RequestFactoryReset, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(Shutdown, google::protobuf::Empty, vanta::reset::Response)
    VANTA_SCRIPTED_OPERATION(RestartNetwork, google::protobuf::Empty, vanta::reset::Response)
};

}  // namespace vanta::testing
