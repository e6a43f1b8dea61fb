#include "simulated_backends.h"

#include "fakes/test_server.h"

namespace vanta::simulator {

struct SimulatedBackends::Servers {
    std::vector<std::string> names;
    std::vector<std::unique_ptr<testing::TestServer>> servers;
};

SimulatedBackends::SimulatedBackends() : servers_(std::make_unique<Servers>()) {}

SimulatedBackends::~SimulatedBackends() = default;

std::vector<std::string> SimulatedBackends::names() const {
    return servers_->names;
}

}  // namespace vanta::simulator
