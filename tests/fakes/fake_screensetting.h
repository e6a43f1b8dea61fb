#pragma once

#include <google/protobuf/empty.pb.h>

#include "fakes/fake_backend.h"
#include "screensetting.grpc.pb.h"

namespace vanta::testing {

// The screen settings.
class FakeScreenSetting final : public vanta::screensetting::ScreenSetting::Service,
                                public FakeBackend {
    using Empty = google::protobuf::Empty;
    using RequestStatus = vanta::screensetting::RequestStatus;

  public:
    VANTA_FAKE_OPERATION(GetScreenBacklight, Empty, vanta::screensetting::ScreenBacklightResponse)
    VANTA_FAKE_OPERATION(SetScreenBacklight, vanta::screensetting::ScreenBacklight, RequestStatus)
    VANTA_FAKE_OPERATION(GetScreenBrightness, Empty, vanta::screensetting::ScreenBrightnessResponse)
    VANTA_FAKE_OPERATION(SetScreenBrightness, vanta::screensetting::ScreenBrightness, RequestStatus)
};

}  // namespace vanta::testing
