// vanta-simulator: the device around vantaapid on a laptop. It serves the
// message bus broker and the backends at the rows of the daemon's own
// endpoint catalogue (the device's fixed sockets), with plausible answers,
// until SIGINT or SIGTERM. Bus messages that anyone publishes (the daemon, or
// `vanta-cli publish`) are printed and delivered to their subscribers.
//
// A control socket of its own stops, starts and hangs single backends while
// it runs (`vanta-cli sim stop|start|hang|list`); `--without` starts with
// some of them stopped. Each change is printed.

#include <signal.h>

#include <ctime>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "sim/bus_broker.h"
#include "sim/simulator_control_service.h"
#include "simulated_backends.h"

namespace {

// Lines come from the main thread and from the control's threads.
std::mutex output_mutex;

void print_line(const std::string& line) {
    std::lock_guard<std::mutex> lock(output_mutex);
    std::cout << line << std::endl;
}

void print_publish(const vanta::pubsub::PublishRequest& request) {
    std::string line =
        "bus: " + request.data().topic() + " event " + std::to_string(request.data().event());
    if (!request.data().data().empty()) {
        line += " data \"" + request.data().data() + "\"";
    }
    print_line(line + " (from " + request.author() + ")");
}

void print_state(const std::string& backend, const std::string& state) {
    print_line("vanta-simulator: " + backend + " " + state);
}

}  // namespace

int main(int argc, char** argv) {
    vanta::simulator::SimulatorOptions options;
    options.control_address = vanta::sim::kSimulatorControlAddress;
    options.on_change = print_state;
    CLI::App app{
        "The device around vantaapid: the bus broker and every backend on the device's "
        "sockets in /tmp. Backends are stopped, started and hung while it runs with "
        "`vanta-cli sim stop|start|hang <backend>` (control socket /tmp/vanta_simulator_control)."};
    app.add_option("--without", options.without,
                   "Backends to start stopped, by socket name or a unique start of it "
                   "(--without callproxy,volumemgr)")
        ->delimiter(',');
    CLI11_PARSE(app, argc, argv);

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
        vanta::simulator::SimulatedBackends backends(endpoints, options);
        backends.announce_on_bus(
            [&broker](const vanta::pubsub::PublishRequest& request) { broker.publish(request); });
        std::string started = "vanta-simulator: bus on " +
                              vanta::simulator::socket_path(endpoints.pubservice) + " and " +
                              vanta::simulator::socket_path(endpoints.subservice);
        for (const auto& name : backends.names()) {
            started += ", " + name;
        }
        print_line(started);
        for (const auto& name : backends.stopped()) {
            print_state(name, "stopped");
        }

        size_t seen = 0;
        const timespec poll{0, 200 * 1000 * 1000};
        while (sigtimedwait(&stop_signals, nullptr, &poll) < 0) {
            for (const auto& request : broker.publish_requests_after(seen)) {
                print_publish(request);
                backends.hear(request.data());
            }
        }
        print_line("vanta-simulator: stopping");
    } catch (const std::exception& e) {
        std::cerr << "vanta-simulator: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
