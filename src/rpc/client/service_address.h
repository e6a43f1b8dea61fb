#pragma once

#include "rpc/client/endpoint_catalogue.h"

namespace vanta {

// `endpoint` at the address the registry at `endpoint.registry_address` holds
// for its registry name (asked for at most `endpoint.registry_timeout`), or at
// its own address when it has no registry name or the registry has no entry or
// does not answer. The result names no registry: a client dials its address as
// it is.
Endpoint resolve_endpoint(const Endpoint& endpoint);

}  // namespace vanta
