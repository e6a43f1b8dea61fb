// Event fan-out: "ImageUpgradeEvent" progress messages delivered through the
// bus broker at a fixed rate to the API service, each numbered, received by K
// Subscribe clients (K = 1, 10, 100); the same load on the minimal fan-out
// server, fed straight from the publisher, in alternate runs. For each: the
// events lost, p50/p99 publish-to-receive latency (the median of the rounds,
// with the lowest and highest p99), and the highest rate at 10 subscribers
// that the receivers keep up with without loss.
// Events that have not arrived when nothing arrived for 5 s count as lost.
// Prints fanout.<daemon|minimal>.{lost,lost_K,p50_us_K,p99_us_K,
// p99_us_K_lowest,p99_us_K_highest,drain_ms_K,max_deliveries_per_s,
// searched_deliveries_per_s} as JSON lines, and
// fanout.bus_hop.{p50_us,p99_us,max_messages_per_s}: the latency and the
// highest rate of the bus alone, which the daemon's figures hold and the
// minimal server's do not.
//
//   vanta_event_fanout_bench [--events 2000] [--rate 1000] [--max-rate 64000] [--rounds 5]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "command_line.h"
#include "in_process_daemon.h"
#include "latency_figures.h"
#include "minimal_fanout_server.h"
#include "pubsub/subscriber_factory.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/bus_broker.h"
#include "vantaapi.grpc.pb.h"

namespace {

using Clock = std::chrono::steady_clock;

// When each numbered event was published, in nanoseconds since `start`.
struct PublishTimes {
    explicit PublishTimes(long events) : sent_ns(events) {}
    Clock::time_point start = Clock::now();
    std::vector<std::atomic<long long>> sent_ns;

    long long now_ns() const {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
    }
};

// One Subscribe client: counts the numbered events it receives and their
// latencies, ready once the stream's first (status) event arrived.
class Subscriber {
  public:
    Subscriber(const std::string& address, const PublishTimes& times)
        : stub_(vantaapi::VantaApi::NewStub(
              grpc::CreateChannel(address, grpc::InsecureChannelCredentials()))),
          times_(times),
          seen_(times.sent_ns.size(), false) {
        stream_ = stub_->Subscribe(&context_);
        reader_ = std::thread([this] { read(); });
    }
    ~Subscriber() {
        context_.TryCancel();
        reader_.join();
    }
    Subscriber(const Subscriber&) = delete;
    Subscriber& operator=(const Subscriber&) = delete;

    bool ready() const { return ready_; }
    long received() const { return received_; }
    std::vector<double> latencies_us() {
        std::lock_guard<std::mutex> lock(mutex_);
        return latencies_us_;
    }

  private:
    void read() {
        vantaapi::VantaEvent event;
        while (stream_->Read(&event)) {
            ready_ = true;
            if (!event.has_image_upgrade_progress()) {
                continue;
            }
            const long number = event.image_upgrade_progress().progress();
            if (number < 0 || number >= static_cast<long>(seen_.size()) || seen_[number]) {
                continue;
            }
            const double latency_us =
                static_cast<double>(times_.now_ns() - times_.sent_ns[number].load()) / 1000.0;
            seen_[number] = true;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                latencies_us_.push_back(latency_us);
            }
            ++received_;
        }
    }

    std::unique_ptr<vantaapi::VantaApi::Stub> stub_;
    grpc::ClientContext context_;
    std::unique_ptr<grpc::ClientReaderWriter<vantaapi::SubscriptionRequest, vantaapi::VantaEvent>>
        stream_;
    const PublishTimes& times_;
    std::vector<bool> seen_;
    std::atomic<bool> ready_{false};
    std::atomic<long> received_{0};
    std::mutex mutex_;
    std::vector<double> latencies_us_;
    std::thread reader_;
};

// Publishes event number `n` through the target under test.
using Publish = std::function<void(long n)>;

struct RunFigures {
    long lost = 0;
    std::vector<double> latencies_us;
    // From the last publish until every subscriber had every event (or
    // nothing arrived for 5 s).
    double drain_ms = 0;
};

// Waits until every subscriber has every event; gives up only when no event
// arrived anywhere for `stall`, so that a slow target is measured late rather
// than counted as losing events.
void wait_while_arriving(const std::vector<std::unique_ptr<Subscriber>>& clients, long events,
                         std::chrono::milliseconds stall) {
    long arrived = -1;
    auto last_progress = Clock::now();
    for (;;) {
        long now_arrived = 0;
        for (const auto& client : clients) {
            now_arrived += client->received();
        }
        if (now_arrived == events * static_cast<long>(clients.size())) {
            return;
        }
        if (now_arrived != arrived) {
            arrived = now_arrived;
            last_progress = Clock::now();
        } else if (Clock::now() - last_progress > stall) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Publishes `events` numbered events at `rate` per second, paced every
// millisecond, noting when each was sent.
void publish_paced(PublishTimes& times, const Publish& publish, long events, long rate) {
    const double per_ms = static_cast<double>(rate) / 1000.0;
    const auto start = Clock::now();
    long sent = 0;
    for (long tick = 0; sent < events; ++tick) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(tick));
        const long due =
            std::min(events, static_cast<long>(per_ms * static_cast<double>(tick + 1)));
        for (; sent < due; ++sent) {
            times.sent_ns[sent] = times.now_ns();
            publish(sent);
        }
    }
}

// `events` events at `rate` per second to `subscribers` clients of `address`.
RunFigures run(const std::string& address, const Publish& publish, int subscribers, long events,
               long rate) {
    PublishTimes times(events);
    std::vector<std::unique_ptr<Subscriber>> clients;
    for (int s = 0; s < subscribers; ++s) {
        clients.push_back(std::make_unique<Subscriber>(address, times));
    }
    wait_until(
        [&] {
            for (const auto& client : clients) {
                if (!client->ready()) {
                    return false;
                }
            }
            return true;
        },
        std::chrono::seconds(10));

    publish_paced(times, publish, events, rate);
    const auto last_publish = Clock::now();
    wait_while_arriving(clients, events, std::chrono::seconds(5));
    RunFigures figures;
    figures.drain_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - last_publish).count();
    for (const auto& client : clients) {
        figures.lost += events - client->received();
        const auto own = client->latencies_us();
        figures.latencies_us.insert(figures.latencies_us.end(), own.begin(), own.end());
    }
    return figures;
}

// The bus hop alone: a bus subscriber of its own topic, on the daemon's bus
// client, timed from the broker's delivery to its read. The daemon's fan-out
// latency holds one such hop that the minimal server's does not.
RunFigures run_bus_hop(vanta::sim::BusBroker& broker, const vanta::Endpoint& subservice,
                       long events, long rate) {
    // A topic and subscriber of each run's own: what an earlier run left
    // queued at the broker cannot reach this one.
    static int runs = 0;
    const std::string topic = "FanoutBenchProbe" + std::to_string(++runs);
    const auto subscriber = vanta::pubsub::create_subscriber(topic, subservice);
    if (!subscriber->subscribe({topic})) {
        throw std::runtime_error("the broker did not accept the probe's topic");
    }
    PublishTimes times(events);
    std::vector<double> latencies_us;
    std::atomic<long> received{0};
    std::atomic<bool> warmed_up{false};
    std::thread reader([&] {
        vanta::pubsub::PubSubMessage message;
        while (received < events && subscriber->read(message)) {
            const long number = std::stol(message.data());
            if (number < 0 || number >= events) {
                warmed_up = true;
                continue;
            }
            latencies_us.push_back(
                static_cast<double>(times.now_ns() - times.sent_ns[number].load()) / 1000.0);
            ++received;
        }
    });
    const Publish publish = [&](long n) {
        vanta::pubsub::PubSubMsg message;
        message.set_topic(topic);
        message.set_data(std::to_string(n));
        broker.deliver(message);
    };
    // The first messages of a new stream arrive late (by 100-200 ms: the bus
    // client polls its new channel every 100 ms until it is ready), so a
    // first one is sent and awaited untimed.
    publish(-1);
    wait_until([&] { return warmed_up.load(); }, std::chrono::seconds(5));
    publish_paced(times, publish, events, rate);
    const auto last_publish = Clock::now();
    wait_until([&] { return received == events; }, std::chrono::seconds(5));
    RunFigures figures;
    figures.drain_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - last_publish).count();
    subscriber->stop_reading();
    reader.join();
    figures.lost = events - received;
    figures.latencies_us = std::move(latencies_us);
    return figures;
}

// A server under test: its name in the figures, its address, how an event
// reaches it.
struct Target {
    std::string name;
    std::string address;
    Publish publish;
};

double median(std::vector<double> values) {
    return vanta::bench::percentile(values, 0.5);
}

// Runs the fixed-rate load for K = 1, 10, 100 on every target in turn,
// `rounds` times for K = 1 and 10 (once for 100, which takes long), so that a
// change in the machine's load falls on every target alike: each figure is
// the median of its rounds, the events lost their sum.
void measure_fixed_rate(const std::vector<Target>& targets, long events, long rate, int rounds) {
    using vanta::bench::print_figure;
    std::vector<long> lost(targets.size(), 0);
    for (const int subscribers : {1, 10, 100}) {
        const int rounds_here = subscribers == 100 ? 1 : rounds;
        // Per target: each round's p50, p99 and drain time.
        std::vector<std::vector<double>> p50(targets.size()), p99(targets.size()),
            drain(targets.size());
        std::vector<long> lost_here(targets.size(), 0);
        for (int round = 0; round < rounds_here; ++round) {
            for (size_t t = 0; t < targets.size(); ++t) {
                RunFigures figures =
                    run(targets[t].address, targets[t].publish, subscribers, events, rate);
                lost_here[t] += figures.lost;
                p50[t].push_back(vanta::bench::percentile(figures.latencies_us, 0.50));
                p99[t].push_back(vanta::bench::percentile(figures.latencies_us, 0.99));
                drain[t].push_back(figures.drain_ms);
            }
        }
        const std::string suffix = "_" + std::to_string(subscribers);
        for (size_t t = 0; t < targets.size(); ++t) {
            const std::string prefix = "fanout." + targets[t].name + ".";
            lost[t] += lost_here[t];
            print_figure(prefix + "lost" + suffix, static_cast<double>(lost_here[t]));
            print_figure(prefix + "p50_us" + suffix, median(p50[t]));
            print_figure(prefix + "p99_us" + suffix, median(p99[t]));
            if (rounds_here > 1) {
                std::sort(p99[t].begin(), p99[t].end());
                print_figure(prefix + "p99_us" + suffix + "_lowest", p99[t].front());
                print_figure(prefix + "p99_us" + suffix + "_highest", p99[t].back());
            }
            print_figure(prefix + "drain_ms" + suffix, median(drain[t]));
        }
    }
    for (size_t t = 0; t < targets.size(); ++t) {
        print_figure("fanout." + targets[t].name + ".lost", static_cast<double>(lost[t]));
    }
}

// Whether a run at a rate kept up: nothing lost, and everything arrived
// within 100 ms of the last publish.
bool kept_up(const RunFigures& figures) {
    return figures.lost == 0 && figures.drain_ms <= 100;
}

// The highest rate `runs` keeps up with: doubled from `rate` up to `max_rate`
// while it keeps up, then the last step narrowed down by three halvings (the
// figure is then within an eighth of that step). A rate counts as kept up with
// when one of two tries does: a single try that falls behind may be the
// machine's doing (another process took a core) rather than the target's, and
// every target gets the same second try.
long highest_rate(const std::function<RunFigures(long rate)>& runs, long rate, long max_rate) {
    const auto sustains = [&](long step_rate) {
        return kept_up(runs(step_rate)) || kept_up(runs(step_rate));
    };
    long passed = 0;
    long failed = 0;
    for (long step_rate = rate; step_rate <= max_rate; step_rate *= 2) {
        if (!sustains(step_rate)) {
            failed = step_rate;
            break;
        }
        passed = step_rate;
    }
    for (int narrowing = 0; narrowing < 3 && passed > 0 && failed > 0; ++narrowing) {
        const long middle = (passed + failed) / 2;
        (sustains(middle) ? passed : failed) = middle;
    }
    return passed;
}

// The highest rate at which 10 subscribers of `target` keep up.
void measure_highest_rate(const Target& target, long events, long rate, long max_rate) {
    using vanta::bench::print_figure;
    const std::string prefix = "fanout." + target.name + ".";
    constexpr int kSubscribers = 10;
    const long passed = highest_rate(
        [&](long step_rate) {
            return run(target.address, target.publish, kSubscribers,
                       std::max(events, step_rate / 2), step_rate);
        },
        rate, max_rate);
    print_figure(prefix + "max_deliveries_per_s", static_cast<double>(passed * kSubscribers));
    // Equal to max_deliveries_per_s when the search stopped at the top.
    print_figure(prefix + "searched_deliveries_per_s",
                 static_cast<double>(max_rate * kSubscribers));
}

vantaapi::VantaEvent numbered_event(long n) {
    vantaapi::VantaEvent event;
    event.mutable_image_upgrade_progress()->set_progress(static_cast<int>(n));
    return event;
}

}  // namespace

int main(int argc, char** argv) {
    const long events = vanta::bench::option(argc, argv, "events", 2000);
    const long rate = vanta::bench::option(argc, argv, "rate", 1000);
    const long max_rate = vanta::bench::option(argc, argv, "max-rate", 64000);
    const int rounds = static_cast<int>(vanta::bench::option(argc, argv, "rounds", 5));

    const vanta::bench::TemporaryDirectory dir;
    const vanta::EndpointCatalogue endpoints = vanta::endpoints_in_directory(dir.path());
    // The broker keeps every message for a slow reader: loss is the daemon's.
    vanta::sim::BusBroker broker(vanta::sim::BusBroker::Limits{1000, 10000000});
    broker.serve({endpoints.pubservice.address, endpoints.subservice.address});
    const std::string daemon_address = dir.socket_address("vantaapi_service");
    vanta::bench::InProcessDaemon daemon(daemon_address, endpoints);
    broker.wait_for_open_streams("VantaApi");
    const std::string minimal_address = dir.socket_address("minimal_fanout");
    vanta::bench::MinimalFanoutServer minimal(minimal_address);

    const std::vector<Target> targets = {
        {"daemon", daemon_address,
         [&](long n) {
             vanta::pubsub::PubSubMsg message;
             message.set_topic("ImageUpgradeEvent");
             message.set_event(1);
             message.set_data(std::to_string(n));
             broker.deliver(message);
         }},
        {"minimal", minimal_address, [&](long n) { minimal.publish(numbered_event(n)); }}};
    measure_fixed_rate(targets, events, rate, rounds);
    std::vector<double> hop_p50;
    std::vector<double> hop_p99;
    for (int round = 0; round < rounds; ++round) {
        RunFigures figures = run_bus_hop(broker, endpoints.subservice, events, rate);
        hop_p50.push_back(vanta::bench::percentile(figures.latencies_us, 0.50));
        hop_p99.push_back(vanta::bench::percentile(figures.latencies_us, 0.99));
    }
    vanta::bench::print_figure("fanout.bus_hop.p50_us", median(hop_p50));
    vanta::bench::print_figure("fanout.bus_hop.p99_us", median(hop_p99));
    for (const Target& target : targets) {
        measure_highest_rate(target, events, rate, max_rate);
    }
    // The bus stream alone: every event of the daemon's passes through it.
    const long bus_rate = highest_rate(
        [&](long step_rate) {
            return run_bus_hop(broker, endpoints.subservice, std::max(events, step_rate / 2),
                               step_rate);
        },
        rate, max_rate);
    vanta::bench::print_figure("fanout.bus_hop.max_messages_per_s", static_cast<double>(bus_rate));
    return 0;
}
