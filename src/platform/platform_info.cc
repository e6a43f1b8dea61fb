#include "platform/platform_info.h"

#include <algorithm>

namespace vanta::platform {

std::vector<BackendService> supported_backend_services() {
    return {BackendService::Nimbo};
}

bool is_backend_service_supported(BackendService service) {
    const auto services = supported_backend_services();
    return std::find(services.begin(), services.end(), service) != services.end();
}

bool is_wired_share_supported() {
    return false;
}

}  // namespace vanta::platform
