#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::ringer {

// The ringer: plays and stops the ring tone. Each operation answers whether the
// ringer accepted the request and raises the typed error of a failed call
// (GrpcException family).
class Client : public GrpcClientBase {
  public:
    // Rings with the tone called `name`.
    virtual bool StartRinger(const std::string& name) = 0;
    virtual bool StopRinger() = 0;
};

// A client of the ringer at `endpoint` (the catalogue's ringer row).
std::unique_ptr<Client> create_client(const Endpoint& endpoint);

}  // namespace vanta::ringer
