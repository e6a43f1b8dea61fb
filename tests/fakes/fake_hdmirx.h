#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "hdmirx.grpc.pb.h"

namespace vanta::testing {

// The HDMI input service.
class FakeHdmiRx final : public vanta::hdmirx::HdmiRx::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;

  public:
    VANTA_SCRIPTED_OPERATION(StartLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_SCRIPTED_OPERATION(StopLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_SCRIPTED_OPERATION(GetHdmiState, Empty, vanta::hdmirx::HdmiState)
    VANTA_SCRIPTED_OPERATION(GetLocalWiredShareStatistics, Empty,
                             vanta::hdmirx::LocalWiredShareStatistics)
};

}  // namespace vanta::testing
