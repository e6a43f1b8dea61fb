#pragma once

#include "fakes/scripted_backend.h"
#include "mediasession.grpc.pb.h"

namespace vanta::testing {

// The media session service (the operations the API forwards): scripted replies, recorded requests.
class FakeMediaSession final : public mediasession::MediaSession::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(SubscribeRemoteVideo, mediasession::SubRemoteVideo,
                             mediasession::RequestStatus)
    VANTA_SCRIPTED_OPERATION(UnSubscribeRemoteVideo, mediasession::UnSubRemoteVideo,
                             mediasession::RequestStatus)
};

}  // namespace vanta::testing
