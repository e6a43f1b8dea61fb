// vanta-simulator: the device around vantaapid on a laptop. It serves the
// message bus broker and the backends at the rows of the daemon's own
// endpoint catalogue (the device's fixed sockets), with plausible answers,
// until SIGINT or SIGTERM. Bus messages that anyone publishes (the daemon, or
// `vanta-cli publish`) are printed and delivered to their subscribers.

#include <signal.h>

#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "sim/bus_broker.h"
#include "simulated_backends.h"

namespace {

void print_publish(const vanta::pubsub::PublishRequest& request) {
    std::cout << "bus: " << request.data().topic() << " event " << request.data().event();
    if (!request.data().data().empty()) {
        std::cout << " data \"" << request.data().data() << "\"";
    }
    std::cout << " (from " << request.author() << ")" << std::endl;
}

}  // namespace

int main() {
    // Signals are taken by sigtimedwait below, on this thread only: every
    // thread started from here on inherits the mask.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    try {
        const vanta::EndpointCatalogue& endpoints = vanta::device_endpoints();
        vanta::sim::BusBroker broker(
            std::vector<std::string>{endpoints.pubservice.address, endpoints.subservice.address});
        vanta::simulator::SimulatedBackends backends(endpoints);
        std::cout << "vanta-simulator: bus on "
                  << vanta::simulator::socket_path(endpoints.pubservice) << " and "
                  << vanta::simulator::socket_path(endpoints.subservice);
        for (const auto& name : backends.names()) {
            std::cout << ", " << name;
        }
        std::cout << std::endl;

        size_t seen = 0;
        const timespec poll{0, 200 * 1000 * 1000};
        while (sigtimedwait(&stop_signals, nullptr, &poll) < 0) {
            for (const auto& request : broker.publish_requests_after(seen)) {
                print_publish(request);
            }
        }
        std::cout << "vanta-simulator: stopping" << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "vanta-simulator: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
