#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "hdmirx.grpc.pb.h"

namespace vanta::testing {

// The HDMI input service.
class FakeHdmiRx final : public vanta::hdmirx::HdmiRx::Service, public FakeBackend {
    using Empty = google::protobuf::Empty;

  public:
    VANTA_FAKE_OPERATION(StartLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_FAKE_OPERATION(StopLocalWiredShare, Empty, vanta::hdmirx::RenderResponse)
    VANTA_FAKE_OPERATION(GetHdmiState, Empty, vanta::hdmirx::HdmiState)
    VANTA_FAKE_OPERATION(GetLocalWiredShareStatistics, Empty,
                         vanta::hdmirx::LocalWiredShareStatistics)
};

}  // namespace vanta::testing
