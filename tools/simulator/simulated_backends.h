#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rpc/client/endpoint_catalogue.h"

namespace vanta::simulator {

// The device's backend daemons, each simulated at its row of `endpoints` (the
// daemon's own table: the device's fixed sockets by default) with the answers
// of an idle device.
class SimulatedBackends {
  public:
    explicit SimulatedBackends(const EndpointCatalogue& endpoints = device_endpoints());
    ~SimulatedBackends();
    SimulatedBackends(const SimulatedBackends&) = delete;
    SimulatedBackends& operator=(const SimulatedBackends&) = delete;

    // The socket paths served, for the start-up line.
    std::vector<std::string> names() const;

  private:
    struct Servers;
    std::unique_ptr<Servers> servers_;
};

// The socket path of `row`: "/tmp/volumemgr_service" for
// "unix:/tmp/volumemgr_service".
std::string socket_path(const Endpoint& row);

}  // namespace vanta::simulator
