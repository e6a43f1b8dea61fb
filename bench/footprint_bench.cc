// Footprint of the built daemon on the device's fixed sockets (run it in a
// private /tmp, scripts/in-private-tmp.sh): resident memory and threads at
// idle and the time from exec to the API socket accepting a connection, with
// every simulated backend up and with none; memory with 100 subscribers
// attached, and what one subscriber that never reads costs after `--events`
// bus events of `--event-bytes` characters (its queue is unbounded by design).
// Prints footprint.{idle_rss_kib,idle_threads,startup_ms}[_no_backends],
// footprint.{rss_kib_100_subscribers,rss_kib_stalled,stalled_subscriber_kib,
// stalled_events,stalled_events_delivered,stalled_event_text_bytes,
// stalled_bytes_per_event}
// as JSON lines.
//
//   vanta_footprint_bench --daemon PATH --simulator PATH [--events 100000]
//                         [--event-bytes 1000]

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "command_line.h"
#include "latency_figures.h"
#include "pubsub.grpc.pb.h"
#include "vantaapi.grpc.pb.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kApiSocket = "/tmp/vantaapi_service";
const std::string kSimulatorReadySocket = "/tmp/vanta_simulator_control";
const std::string kPublishAddress = "unix:/tmp/pubservice";

// A program started with its output discarded, stopped with SIGTERM and
// waited for when destroyed.
class ChildProcess {
  public:
    explicit ChildProcess(const std::string& path) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv{const_cast<char*>(path.c_str()), nullptr};
        const int failed =
            posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            throw std::runtime_error("cannot start " + path);
        }
    }
    ~ChildProcess() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = 0;
};

// A number from a "Name:   value" line of /proc/<pid>/status.
long status_field(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::stol(line.substr(name.size() + 1));
        }
    }
    return -1;
}

bool wait_for_file(const std::string& path, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!std::filesystem::exists(path)) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return true;
}

std::shared_ptr<grpc::Channel> api_channel() {
    return grpc::CreateChannel("unix:" + kApiSocket, grpc::InsecureChannelCredentials());
}

// Starts the daemon and answers the milliseconds until its API socket accepted
// a connection. Each try is a fresh channel, so that no reconnect back-off
// counts.
double start_daemon(const std::string& path, std::unique_ptr<ChildProcess>& daemon) {
    std::filesystem::remove(kApiSocket);
    const auto start = Clock::now();
    daemon = std::make_unique<ChildProcess>(path);
    const auto deadline = start + std::chrono::seconds(10);
    while (!std::filesystem::exists(kApiSocket) ||
           !api_channel()->WaitForConnected(std::chrono::system_clock::now() +
                                            std::chrono::milliseconds(20))) {
        if (Clock::now() > deadline) {
            throw std::runtime_error("the daemon's API socket never accepted a connection");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Resident memory once it stopped changing by more than 1% a second (at
// most `limit`).
long settled_rss_kib(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    long before = status_field(pid, "VmRSS");
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const long now = status_field(pid, "VmRSS");
        if (std::labs(now - before) * 100 <= before) {
            return now;
        }
        before = now;
    }
    return before;
}

// Subscribe streams on the daemon, each read (or not) by a thread of its own.
class Subscribers {
  public:
    Subscribers(int count, bool reading) : stub_(vantaapi::VantaApi::NewStub(api_channel())) {
        for (int i = 0; i < count; ++i) {
            streams_.push_back(std::make_unique<Stream>());
            Stream& stream = *streams_.back();
            stream.call = stub_->Subscribe(&stream.context);
            stream.call->WaitForInitialMetadata();
            if (reading) {
                stream.reader = std::thread([this, &stream] {
                    vantaapi::VantaEvent event;
                    while (stream.call->Read(&event)) {
                        if (event.has_postpone_message_event()) {
                            ++bus_events_;
                        }
                    }
                });
            }
        }
    }
    ~Subscribers() {
        for (auto& stream : streams_) {
            stream->context.TryCancel();
            if (stream->reader.joinable()) {
                stream->reader.join();
            }
        }
    }
    Subscribers(const Subscribers&) = delete;
    Subscribers& operator=(const Subscribers&) = delete;

    // Events of the published bus topic read so far by all the reading
    // streams.
    long bus_events() const { return bus_events_; }

  private:
    struct Stream {
        grpc::ClientContext context;
        std::unique_ptr<
            grpc::ClientReaderWriter<vantaapi::SubscriptionRequest, vantaapi::VantaEvent>>
            call;
        std::thread reader;
    };
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_;
    std::atomic<long> bus_events_{0};
    std::vector<std::unique_ptr<Stream>> streams_;
};

// `events` "UpgradeInfoEvent" postpone messages of `bytes` characters each
// (the daemon passes the text on), published on the bus from four threads in
// rounds that `witness` reads before the next: the broker's bounded queue for
// the daemon never overflows, so every event reaches the daemon's streams.
void publish_events(long events, long bytes, const Subscribers& witness) {
    auto stub = vanta::pubsub::PublishService::NewStub(
        grpc::CreateChannel(kPublishAddress, grpc::InsecureChannelCredentials()));
    vanta::pubsub::PublishRequest request;
    request.set_author("footprint-bench");
    request.mutable_data()->set_topic("UpgradeInfoEvent");
    request.mutable_data()->set_event(2);
    (*request.mutable_data()->mutable_attributes())["message"] =
        std::string(static_cast<std::size_t>(bytes), 'x');
    constexpr int kThreads = 4;
    constexpr long kRound = 400;
    for (long start = 0; start < events; start += kRound) {
        const long end = std::min(events, start + kRound);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&stub, &request, start, end, t] {
                for (long i = start + t; i < end; i += kThreads) {
                    grpc::ClientContext context;
                    vanta::pubsub::PublishResponse response;
                    stub->Publish(&context, request, &response);
                }
            });
        }
        for (auto& thread : threads) {
            thread.join();
        }
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (witness.bus_events() < end && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

std::string option_text(int argc, char** argv, const std::string& name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == "--" + name) {
            return argv[i + 1];
        }
    }
    throw std::runtime_error("--" + name + " PATH is needed");
}

}  // namespace

int main(int argc, char** argv) {
    using vanta::bench::print_figure;
    const std::string daemon_path = option_text(argc, argv, "daemon");
    const std::string simulator_path = option_text(argc, argv, "simulator");
    const long events = vanta::bench::option(argc, argv, "events", 100000);
    const long event_bytes = vanta::bench::option(argc, argv, "event-bytes", 1000);

    {
        std::unique_ptr<ChildProcess> daemon;
        print_figure("footprint.startup_ms_no_backends", start_daemon(daemon_path, daemon));
        print_figure("footprint.idle_rss_kib_no_backends",
                     settled_rss_kib(daemon->pid(), std::chrono::seconds(5)));
        print_figure("footprint.idle_threads_no_backends", status_field(daemon->pid(), "Threads"));
    }

    ChildProcess simulator(simulator_path);
    if (!wait_for_file(kSimulatorReadySocket, std::chrono::seconds(10))) {
        throw std::runtime_error("the simulator did not start");
    }
    std::unique_ptr<ChildProcess> daemon;
    print_figure("footprint.startup_ms", start_daemon(daemon_path, daemon));
    const pid_t pid = daemon->pid();
    const long idle_rss = settled_rss_kib(pid, std::chrono::seconds(5));
    print_figure("footprint.idle_rss_kib", idle_rss);
    print_figure("footprint.idle_threads", status_field(pid, "Threads"));
    {
        Subscribers attached(100, true);
        print_figure("footprint.rss_kib_100_subscribers",
                     settled_rss_kib(pid, std::chrono::seconds(5)));
        print_figure("footprint.threads_100_subscribers", status_field(pid, "Threads"));
    }
    const long before_stall = settled_rss_kib(pid, std::chrono::seconds(5));
    Subscribers stalled(1, false);
    Subscribers witness(1, true);
    publish_events(events, event_bytes, witness);
    const long stalled_rss = settled_rss_kib(pid, std::chrono::seconds(10));
    // Every event reached the daemon's streams when the witness read them all.
    print_figure("footprint.stalled_events_delivered", witness.bus_events());
    print_figure("footprint.rss_kib_stalled", stalled_rss);
    print_figure("footprint.stalled_subscriber_kib", stalled_rss - before_stall);
    print_figure("footprint.stalled_events", events);
    print_figure("footprint.stalled_event_text_bytes", event_bytes);
    print_figure(
        "footprint.stalled_bytes_per_event",
        static_cast<double>(stalled_rss - before_stall) * 1024.0 / static_cast<double>(events));
    return 0;
}
