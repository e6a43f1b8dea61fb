#include <chrono>

#include "clients/calling/calling_client.h"
#include "rpc/client/service_address.h"

namespace vanta::callproxy {

namespace {
constexpr std::chrono::milliseconds kRegistryTimeout{500};
}  // namespace

std::unique_ptr<calling::CallingClient> create_client(Executor& executor) {
    const std::string address =
        lookup_service_address(kCallProxyServiceName, kCallProxyAddress, kRegistryTimeout);
    return calling::create_client(executor, address, kCallProxyServiceName);
}

}  // namespace vanta::callproxy
