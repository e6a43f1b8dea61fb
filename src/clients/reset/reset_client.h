#pragma once

#include <memory>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta {

// The reset service: factory reset, network restart and shutdown. Each
// operation answers whether the service accepted the request and raises the
// typed error of a failed call (GrpcException family).
class ResetClient : public GrpcClientBase {
  public:
    virtual bool FactoryReset() = 0;
    virtual bool RequestFactoryReset() = 0;
    virtual bool RestartNetwork() = 0;
    virtual bool Shutdown() = 0;
};

// A client of the reset service at `endpoint` (the catalogue's reset row).
std::unique_ptr<ResetClient> create_reset_client(const Endpoint& endpoint);

}  // namespace vanta
