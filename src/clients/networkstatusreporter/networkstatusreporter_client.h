#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "networkstatusreporter.pb.h"
#include "rpc/client/grpc_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta::networkstatusreporter {

// The network status reporter: one summary of the device's network state.
class Client : public GrpcClientBase {
  public:
    // The report, or nothing when the reporter could not answer.
    virtual std::optional<NetworkStatusReport> GetNetworkStatusReport() = 0;
};

// A client of "unix:/tmp/network_status_reporter" whose calls last at most
// `timeout`. The executor will carry the reporter's event stream.
std::unique_ptr<Client> create_client(Executor& executor, std::chrono::milliseconds timeout);

}  // namespace vanta::networkstatusreporter
