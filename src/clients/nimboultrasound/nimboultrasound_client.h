#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "nimboultrasound.pb.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::nimboultrasound {

// The ultrasound pairing service: its beacon, the users paired through it
// and its pairing tokens. Each operation gives nothing when the service could
// not answer.
class Client : public GrpcClientBase {
  public:
    virtual std::optional<bool> Enable() = 0;
    virtual std::optional<bool> Disable() = 0;
    virtual std::optional<NimboUltraSoundState> GetServiceState() = 0;
    virtual std::optional<PairedUsers> GetPairedUsers() = 0;
    virtual std::optional<std::string> GetLatestPairingToken() = 0;
};

}  // namespace vanta::nimboultrasound

namespace vanta {

// A client of the service that the registry names "Nimbo Ultrasound Service",
// else of the socket "nimboultrasound_service" in /tmp; calls last at most
// `timeout`.
std::unique_ptr<nimboultrasound::Client> create_nimbo_ultrasound_client(
    std::chrono::milliseconds timeout);

}  // namespace vanta
