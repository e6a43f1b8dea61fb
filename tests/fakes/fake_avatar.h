#pragma once

#include <google/protobuf/empty.pb.h>

#include "avatar.grpc.pb.h"
#include "fakes/fake_event_streams.h"
#include "fakes/scripted_backend.h"

namespace vanta::testing {

// The avatar service : scripted replies, recorded requests, and its event stream.
class FakeAvatar final : public avatar::Avatar::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAvatar, avatar::AvatarRequest, google::protobuf::Empty)
    VANTA_FAKE_EVENT_STREAM(avatar::Event, avatar::SubscriptionRequest)
};

}  // namespace vanta::testing
