#include "clients/screensetting/screensetting_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::screensetting {

namespace {
using Stub = ScreenSetting::Stub;
}  // namespace

ScreenSettingClientImpl::ScreenSettingClientImpl(const Endpoint& endpoint, logging::Logger& logger)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logger) {}

clients::UnaryCall ScreenSettingClientImpl::call(const char* operation) const {
    return {service_name_, operation, timeout_, logger_};
}

ScreenBrightnessResponse ScreenSettingClientImpl::GetScreenBrightness() {
    return clients::call_or_throw(stub(), &Stub::GetScreenBrightness, google::protobuf::Empty(),
                                  call("GetScreenBrightness"));
}

bool ScreenSettingClientImpl::SetScreenBrightness(float brightness_percentage) {
    ScreenBrightness request;
    request.set_brightness_percentage(brightness_percentage);
    return clients::call_or_throw(stub(), &Stub::SetScreenBrightness, request,
                                  call("SetScreenBrightness"))
        .success();
}

ScreenBacklightResponse ScreenSettingClientImpl::GetScreenBacklight() {
    return clients::call_or_throw(stub(), &Stub::GetScreenBacklight, google::protobuf::Empty(),
                                  call("GetScreenBacklight"));
}

bool ScreenSettingClientImpl::SetScreenBacklight(float backlight_state) {
    ScreenBacklight request;
    request.set_backlight_state(backlight_state);
    return clients::call_or_throw(stub(), &Stub::SetScreenBacklight, request,
                                  call("SetScreenBacklight"))
        .success();
}

std::unique_ptr<ScreenSettingClient> create_screensetting_client(const Endpoint& endpoint) {
    return std::make_unique<ScreenSettingClientImpl>(endpoint,
                                                     logging::getLogger("ScreenSettingClient"));
}

}  // namespace vanta::screensetting
