#pragma once

#include <google/protobuf/empty.pb.h>

#include "avatar.grpc.pb.h"
#include "fakes/scripted_backend.h"

namespace vanta::testing {

// The avatar service (its unary operation): scripted replies, recorded requests.
class FakeAvatar final : public avatar::Avatar::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAvatar, avatar::AvatarRequest, google::protobuf::Empty)
};

}  // namespace vanta::testing
