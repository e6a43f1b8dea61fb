#pragma once

#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/server/grpc_server.h"
#include "runtime/executor/executor.h"

namespace vanta {

// The server host of the VantaApi service on `address`; run it to serve.
// Throws std::runtime_error for an address with white space in it.
std::unique_ptr<GrpcServer> create_vantaapi_service(Executor& executor, const std::string& address);
// The same, with every backend taken from `endpoints` instead of the device's
// catalogue.
std::unique_ptr<GrpcServer> create_vantaapi_service(Executor& executor, const std::string& address,
                                                    const EndpointCatalogue& endpoints);

}  // namespace vanta
