#include "rpc/client/service_address.h"

#include "rpc/client/service_registry_client.h"

namespace vanta {

Endpoint resolve_endpoint(const Endpoint& endpoint) {
    Endpoint resolved = endpoint;
    if (!endpoint.registry_name.empty()) {
        serviceregistry::ServiceRegistryClientImpl registry(endpoint.registry_address);
        registry.set_timeout(endpoint.registry_timeout);
        const std::string address = registry.get_service_address(endpoint.registry_name);
        if (!address.empty()) {
            resolved.address = address;
        }
        resolved.registry_name.clear();
    }
    return resolved;
}

}  // namespace vanta
