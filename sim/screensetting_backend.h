#pragma once

#include <google/protobuf/empty.pb.h>

#include "screensetting.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The screen settings.
class ScreenSettingBackend final : public vanta::screensetting::ScreenSetting::Service,
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

}  // namespace vanta::sim
