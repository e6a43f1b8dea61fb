#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/scripted_backend.h"
#include "screensetting.grpc.pb.h"

namespace vanta::testing {

// The screen settings.
class FakeScreenSetting final : public vanta::screensetting::ScreenSetting::Service,
                                public ScriptedBackend {
    using Empty = google::protobuf::Empty;
    using RequestStatus = vanta::screensetting::RequestStatus;

  public:
    VANTA_SCRIPTED_OPERATION(GetScreenBacklight, Empty,
                             vanta::screensetting::ScreenBacklightResponse)
    VANTA_SCRIPTED_OPERATION(SetScreenBacklight, vanta::screensetting::ScreenBacklight,
                             RequestStatus)
    VANTA_SCRIPTED_OPERATION(GetScreenBrightness, Empty,
                             vanta::screensetting::ScreenBrightnessResponse)
    VANTA_SCRIPTED_OPERATION(SetScreenBrightness, vanta::screensetting::ScreenBrightness,
                             RequestStatus)
};

}  // namespace vanta::testing
