#pragma once

#include <string>
#include <vector>

#include "cli_errors.h"

namespace vanta::cli {

// Where vanta-simulator listens for its control requests.
inline constexpr const char* kSimulatorControlAddress = "unix:/tmp/vanta_simulator_control";

// Stops, starts and hangs the simulated backends of a running vanta-simulator.
// Each answer is one line per backend, "<socket name> <state>". Throws
// CallFailed when the simulator refuses (an unknown or ambiguous name) or is
// not reachable.
class SimController {
  public:
    explicit SimController(Peer simulator);

    // `action` is "stop", "start" or "hang"; `backend` a socket name or a
    // unique short form of one.
    std::string change(const std::string& action, const std::string& backend);
    std::string list();

    static std::vector<std::string> actions();
    // The socket names of the backends the simulator serves: every row of the
    // device's endpoint catalogue but the daemon's own services.
    static std::vector<std::string> backend_names();

  private:
    Peer simulator_;
};

}  // namespace vanta::cli
