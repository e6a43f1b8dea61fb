#pragma once

#include <chrono>
#include <string>

#include "clients/common/unary_call.h"
#include "clients/screensetting/screensetting_client.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"
#include "screensetting.grpc.pb.h"

namespace vanta::screensetting {

class ScreenSettingClientImpl final : public GrpcClient<ScreenSetting, ScreenSettingClient> {
  public:
    ScreenSettingClientImpl(const Endpoint& endpoint, logging::Logger& logger);

    ScreenBrightnessResponse GetScreenBrightness() override;
    bool SetScreenBrightness(float brightness_percentage) override;
    ScreenBacklightResponse GetScreenBacklight() override;
    bool SetScreenBacklight(float backlight_state) override;

  private:
    clients::UnaryCall call(const char* operation) const;

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::screensetting
