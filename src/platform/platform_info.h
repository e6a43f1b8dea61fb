#pragma once

#include <vector>

// Facts about this device model: feature switches, fixed values and paths,
// and the device's identity.
namespace vanta::platform {

// The call-control backends that can run on this model.
enum class BackendService {
    // The cloud call-control service.
    Nimbo,
    // The on-premises call-control service.
    Krell,
};

std::vector<BackendService> supported_backend_services();
bool is_backend_service_supported(BackendService service);

bool is_wired_share_supported();

}  // namespace vanta::platform
