#pragma once

#include "mediasession.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The media session service (the operations the API forwards): scripted replies, recorded requests.
class MediaSessionBackend final : public mediasession::MediaSession::Service,
                                  public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(SubscribeRemoteVideo, mediasession::SubRemoteVideo,
                             mediasession::RequestStatus)
    VANTA_SCRIPTED_OPERATION(UnSubscribeRemoteVideo, mediasession::UnSubRemoteVideo,
                             mediasession::RequestStatus)
};

}  // namespace vanta::sim
