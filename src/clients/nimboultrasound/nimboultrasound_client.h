#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "nimboultrasound.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::nimboultrasound {

// The ultrasound pairing service: its beacon, the users paired through it
// and its pairing tokens.
class Client : public GrpcClientBase {
  public:
    // These give nothing when the service could not answer.
    virtual std::optional<bool> Enable() = 0;
    virtual std::optional<bool> Disable() = 0;
    virtual std::optional<NimboUltraSoundState> GetServiceState() = 0;
    virtual std::optional<PairedUsers> GetPairedUsers() = 0;
    virtual std::optional<std::string> GetLatestPairingToken() = 0;

    // These raise the typed error of a failed call (GrpcException).
    virtual std::string GetGuestToken() = 0;
    virtual std::string GetManualPairPin() = 0;
};

}  // namespace vanta::nimboultrasound

namespace vanta {

// A client of the ultrasound pairing service at `endpoint` (the catalogue's
// nimboultrasound row: the registry's address for it first, else its socket).
std::unique_ptr<nimboultrasound::Client> create_nimbo_ultrasound_client(const Endpoint& endpoint);

}  // namespace vanta
