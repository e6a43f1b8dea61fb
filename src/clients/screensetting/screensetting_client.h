#pragma once

#include <memory>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"
#include "screensetting.pb.h"

namespace vanta::screensetting {

// The screen settings: brightness and backlight. Every operation raises the
// typed error of a failed call (GrpcException family).
class ScreenSettingClient : public GrpcClientBase {
  public:
    virtual ScreenBrightnessResponse GetScreenBrightness() = 0;
    // Whether the service took the new value.
    virtual bool SetScreenBrightness(float brightness_percentage) = 0;
    virtual ScreenBacklightResponse GetScreenBacklight() = 0;
    virtual bool SetScreenBacklight(float backlight_state) = 0;
};

// A client of the screen settings at `endpoint` (the catalogue's screensetting
// row).
std::unique_ptr<ScreenSettingClient> create_screensetting_client(const Endpoint& endpoint);

}  // namespace vanta::screensetting
