#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vanta::simulator {

// The device's backend daemons, each simulated on its fixed socket with the
// answers of an idle device.
class SimulatedBackends {
  public:
    SimulatedBackends();
    ~SimulatedBackends();
    SimulatedBackends(const SimulatedBackends&) = delete;
    SimulatedBackends& operator=(const SimulatedBackends&) = delete;

    // The sockets served, for the start-up line.
    std::vector<std::string> names() const;

  private:
    struct Servers;
    std::unique_ptr<Servers> servers_;
};

}  // namespace vanta::simulator
