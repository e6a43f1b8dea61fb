#pragma once

#include <memory>

#include "accesspoint.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::accesspoint {

// The access-point service: the device's own Wi-Fi access point. Each
// operation raises the GrpcException of a failure.
class Client : public GrpcClientBase {
  public:
    virtual APModeState GetAPModeState() = 0;
    // The service's answer to the change (its `enable` flag).
    virtual bool SetAPModeState(APModeState state) = 0;
    virtual LocalAPConfiguration GetLocalAPConfig() = 0;
    virtual bool SetLocalAPConfig(const LocalAPConfiguration& config) = 0;
};

}  // namespace vanta::accesspoint

namespace vanta {

// A client of the access-point service at `endpoint` (the catalogue's
// accesspoint row: the registry's address for it first, else its socket).
std::unique_ptr<accesspoint::Client> create_ap_service_client(const Endpoint& endpoint);

}  // namespace vanta
