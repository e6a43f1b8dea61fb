#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pubsub.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/bus_announcer.h"

namespace vanta::simulator {

// What the simulator may be told besides its endpoints.
struct SimulatorOptions {
    // Backends that start stopped, by socket name or a unique start of it
    // ("volumemgr" for "volumemgr_service").
    std::vector<std::string> without;
    // Where the control (stop, start, hang a backend) is served; empty:
    // nowhere.
    std::string control_address;
    // Hears each change made through the control: the socket's name and the
    // state reached ("running", "stopped", "hung").
    std::function<void(const std::string& name, const std::string& state)> on_change;
};

// The device's backend daemons, each simulated at its row of `endpoints` (the
// daemon's own table: the device's fixed sockets by default) with the answers
// of an idle device. Each can be stopped, started again and hung through the
// control; its state lives on meanwhile.
class SimulatedBackends {
  public:
    // Throws std::invalid_argument when `options.without` names no backend
    // or several.
    explicit SimulatedBackends(const EndpointCatalogue& endpoints = device_endpoints(),
                               const SimulatorOptions& options = {});
    ~SimulatedBackends();
    SimulatedBackends(const SimulatedBackends&) = delete;
    SimulatedBackends& operator=(const SimulatedBackends&) = delete;

    // The backends announce their changes on the bus through `publish` (the
    // broker's in-process publish).
    void announce_on_bus(const sim::BusAnnouncer::Publish& publish);
    // A message published on the bus, for the backends that act on one (the
    // system controller on the UI's standby and wake-up).
    void hear(const vanta::pubsub::PubSubMsg& message);

    // The socket paths of the backends, for the start-up line.
    std::vector<std::string> names() const;
    // The socket names of the backends stopped now.
    std::vector<std::string> stopped() const;

  private:
    struct Servers;
    std::unique_ptr<Servers> servers_;
};

// The socket path of `row`: "/tmp/volumemgr_service" for
// "unix:/tmp/volumemgr_service".
std::string socket_path(const Endpoint& row);

}  // namespace vanta::simulator
