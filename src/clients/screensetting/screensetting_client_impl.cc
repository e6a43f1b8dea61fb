#include "clients/screensetting/screensetting_client_impl.h"

#include <google/protobuf/empty.pb.h>

#include "runtime/logging/loggers.h"

namespace vanta::screensetting {

namespace {
const std::string kServiceName = "ScreenSettingService";
const std::string kAddress = "unix:/tmp/screensetting_service";
constexpr std::chrono::milliseconds kTimeout{2000};
using Stub = ScreenSetting::Stub;
}  // namespace

ScreenSettingClientImpl::ScreenSettingClientImpl(const std::string& address,
                                                 std::chrono::milliseconds timeout,
                                                 logging::Logger& logger)
    : GrpcClient(address), timeout_(timeout), logger_(logger) {}

clients::UnaryCall ScreenSettingClientImpl::call(const char* operation) const {
    return {kServiceName, operation, timeout_, logger_};
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

std::unique_ptr<ScreenSettingClient> create_screensetting_client() {
    return std::make_unique<ScreenSettingClientImpl>(kAddress, kTimeout,
                                                     logging::getLogger("ScreenSettingClient"));
}

}  // namespace vanta::screensetting
