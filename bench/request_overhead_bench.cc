// Request overhead: the simulated volume manager's SetVolume called directly,
// through the minimal forwarding proxy and through the API service, by one
// client and by eight concurrent clients, all in one run on temporary sockets.
// Prints request.<target>.{p50_us,p99_us,calls_per_s}[_8] as JSON lines.
//
//   vanta_request_overhead_bench [--calls 20000] [--warmup 500] [--rounds 10]
//                                [--targets direct,proxy,daemon] [--clients 1,8]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "command_line.h"
#include "in_process_daemon.h"
#include "latency_figures.h"
#include "minimal_forwarding_proxy.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "sim/volumemgr_backend.h"
#include "vantaapi.grpc.pb.h"
#include "volumemgr.grpc.pb.h"

namespace {

using Clock = std::chrono::steady_clock;

// One SetVolume call on a client's own channel; false when it failed.
using Call = std::function<bool(unsigned volume)>;
using CallFactory = std::function<Call()>;

template <typename Service, typename Request, typename Status>
CallFactory calls_to(const std::string& address) {
    return [address] {
        std::shared_ptr<typename Service::Stub> stub =
            Service::NewStub(grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
        return Call([stub](unsigned volume) {
            grpc::ClientContext context;
            Request request;
            request.set_volume(volume);
            Status answer;
            return stub->SetVolume(&context, request, &answer).ok();
        });
    };
}

struct RunFigures {
    std::vector<double> latencies_us;
    double seconds = 0;
    long failures = 0;
};

// `clients` callers of one target, each with its own channel, warmed up by
// `warmup` untimed calls each.
std::vector<Call> warmed_up_callers(const CallFactory& factory, int clients, long warmup) {
    std::vector<Call> callers;
    for (int c = 0; c < clients; ++c) {
        callers.push_back(factory());
        for (long i = 0; i < warmup; ++i) {
            callers.back()(static_cast<unsigned>(i % 100));
        }
    }
    return callers;
}

// `calls` calls shared out among the callers, each on a thread of its own;
// adds their latencies, failures and elapsed time to `figures`.
void run(std::vector<Call>& callers, long calls, RunFigures& figures) {
    const int clients = static_cast<int>(callers.size());
    std::vector<std::vector<double>> latencies(clients);
    std::atomic<long> failures{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            const long share = calls / clients;
            latencies[c].reserve(share);
            for (long i = 0; i < share; ++i) {
                const auto before = Clock::now();
                if (!callers[c](static_cast<unsigned>(i % 100))) {
                    ++failures;
                }
                latencies[c].push_back(
                    std::chrono::duration<double, std::micro>(Clock::now() - before).count());
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    figures.seconds += std::chrono::duration<double>(Clock::now() - start).count();
    for (auto& own : latencies) {
        figures.latencies_us.insert(figures.latencies_us.end(), own.begin(), own.end());
    }
    figures.failures += failures;
}

}  // namespace

int main(int argc, char** argv) {
    using vanta::bench::print_figure;
    const long calls = vanta::bench::option(argc, argv, "calls", 20000);
    const long warmup = vanta::bench::option(argc, argv, "warmup", 500);
    const long rounds = std::max(1L, vanta::bench::option(argc, argv, "rounds", 10));
    const std::vector<std::string> chosen =
        vanta::bench::option_list(argc, argv, "targets", {"direct", "proxy", "daemon"});
    const std::vector<std::string> client_counts =
        vanta::bench::option_list(argc, argv, "clients", {"1", "8"});

    const vanta::bench::TemporaryDirectory dir;
    {
        const vanta::EndpointCatalogue endpoints = vanta::endpoints_in_directory(dir.path());
        vanta::sim::VolumeMgrBackend volume;
        vanta::sim::BackendServer volume_server(endpoints.volumemgr.address, {&volume});
        vanta::sim::BusBroker broker({endpoints.pubservice.address, endpoints.subservice.address});
        const std::string proxy_address = dir.socket_address("minimal_proxy");
        vanta::bench::MinimalForwardingProxy proxy(proxy_address, endpoints.volumemgr.address);
        const std::string daemon_address = dir.socket_address("vantaapi_service");
        vanta::bench::InProcessDaemon daemon(daemon_address, endpoints);

        using VolumeMgr = vanta::volumemgr::VolumeMgr;
        using VantaApi = vantaapi::VantaApi;
        const std::vector<std::pair<std::string, CallFactory>> targets = {
            {"direct",
             calls_to<VolumeMgr, vanta::volumemgr::VolumeRequest, vanta::volumemgr::VolumeStatus>(
                 endpoints.volumemgr.address)},
            {"proxy",
             calls_to<VantaApi, vantaapi::VolumeRequest, vantaapi::VolumeStatus>(proxy_address)},
            {"daemon",
             calls_to<VantaApi, vantaapi::VolumeRequest, vantaapi::VolumeStatus>(daemon_address)},
        };
        // The targets take turns in `rounds` rounds, so that a change of load
        // on the machine during the run weighs on each of them alike.
        for (const std::string& count : client_counts) {
            const int clients = std::stoi(count);
            const std::string suffix = clients == 1 ? "" : "_" + count;
            std::vector<std::pair<std::string, std::vector<Call>>> callers;
            for (const auto& [name, factory] : targets) {
                if (std::find(chosen.begin(), chosen.end(), name) != chosen.end()) {
                    callers.emplace_back(name, warmed_up_callers(factory, clients, warmup));
                }
            }
            std::vector<RunFigures> figures(callers.size());
            for (long round = 0; round < rounds; ++round) {
                for (std::size_t t = 0; t < callers.size(); ++t) {
                    run(callers[t].second, calls / rounds, figures[t]);
                }
            }
            for (std::size_t t = 0; t < callers.size(); ++t) {
                const std::string prefix = "request." + callers[t].first + ".";
                auto& latencies = figures[t].latencies_us;
                print_figure(prefix + "p50_us" + suffix, vanta::bench::percentile(latencies, 0.50));
                print_figure(prefix + "p99_us" + suffix, vanta::bench::percentile(latencies, 0.99));
                print_figure(prefix + "calls_per_s" + suffix,
                             static_cast<double>(latencies.size()) / figures[t].seconds);
                print_figure(prefix + "failures" + suffix,
                             static_cast<double>(figures[t].failures));
            }
        }
    }
    return 0;
}
