#pragma once

#include <memory>

#include "ieee8021x.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta {

// The wired 802.1X service. Every operation raises the typed error of a failed
// call (GrpcException family).
class Ieee8021xClient : public GrpcClientBase {
  public:
    // The configuration the service authenticates with.
    virtual ieee8021x::Ieee8021xConfig GetIeee8021xConfig() = 0;
    // Whether 802.1X is switched on.
    virtual bool GetIeee8021xState() = 0;
    // Whether the service took the new state.
    virtual bool SetIeee8021xState(bool enabled) = 0;
    // Whether the service took the configuration, and why not.
    virtual ieee8021x::RequestStatus SetIeee8021xConfig(
        const ieee8021x::Ieee8021xConfig& config) = 0;
};

// A client of the 802.1X service at `endpoint` (the catalogue's ieee8021x row).
std::unique_ptr<Ieee8021xClient> create_ieee8021x_service_client(const Endpoint& endpoint);

}  // namespace vanta
