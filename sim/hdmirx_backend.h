#pragma once

#include <google/protobuf/empty.pb.h>

#include "hdmirx.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The HDMI input service.
class HdmiRxBackend final : public vanta::hdmirx::HdmiRx::Service, public ScriptedBackend {
    using Empty = google::protobuf::Empty;

  public:
    VANTA_SCRIPTED_OPERATION(StartLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_SCRIPTED_OPERATION(StopLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_SCRIPTED_OPERATION(GetHdmiState, Empty, vanta::hdmirx::HdmiState)
    VANTA_SCRIPTED_OPERATION(GetLocalWiredShareStatistics, Empty,
                             vanta::hdmirx::LocalWiredShareStatistics)
};

}  // namespace vanta::sim
