#include "rpc/client/service_address.h"

#include "rpc/client/service_context.h"
#include "rpc/client/service_registry_client.h"

namespace vanta {

std::string lookup_service_address(const std::string& registry_name,
                                   const std::string& fallback_address,
                                   std::chrono::milliseconds timeout) {
    const auto registry = create_service_registry_client("");
    registry->set_timeout(timeout);
    std::string address = registry->get_service_address(registry_name);
    return address.empty() ? fallback_address : address;
}

std::string resolve_service_address(const std::string& registry_name,
                                    const std::string& socket_name) {
    return lookup_service_address(registry_name,
                                  "unix:" + get_service_context()->root() + socket_name,
                                  kServiceLookupTimeout);
}

}  // namespace vanta
