#include "clients/calling/calling_client.h"
#include "rpc/client/service_address.h"

namespace vanta::callproxy {

std::unique_ptr<calling::CallingClient> create_client(Executor& executor,
                                                      const Endpoint& endpoint) {
    return calling::create_client(executor, resolve_endpoint(endpoint));
}

}  // namespace vanta::callproxy
