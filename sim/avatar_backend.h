#pragma once

#include <google/protobuf/empty.pb.h>

#include "avatar.grpc.pb.h"
#include "sim/event_streams.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The avatar service : scripted replies, recorded requests, and its event stream.
class AvatarBackend final : public avatar::Avatar::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(GetAvatar, avatar::AvatarRequest, google::protobuf::Empty)
    VANTA_SIM_EVENT_STREAM(avatar::Event, avatar::SubscriptionRequest)
};

}  // namespace vanta::sim
