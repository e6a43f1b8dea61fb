#pragma once

// The built vantaapid as a child process in a private /tmp, and the device
// around it faked in the test process on the device's fixed sockets: the bus
// broker and every backend whose event stream the daemon observes, each of
// which a test stops, starts or hangs, plus the volume manager for requests.
// The daemon's log is read from its shared-memory queues as it is written.

#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "api/event_stream.h"
#include "rpc/client/endpoint_catalogue.h"
#include "sim/accountmanager_backend.h"
#include "sim/avatar_backend.h"
#include "sim/bus_broker.h"
#include "sim/calendar_backend.h"
#include "sim/calling_backend.h"
#include "sim/configmanager_backend.h"
#include "sim/nfc_backend.h"
#include "sim/nimbobranding_backend.h"
#include "sim/nimbostatusreporter_backend.h"
#include "sim/sharegovernor_backend.h"
#include "sim/switchable_backend.h"
#include "sim/systemcontroller_backend.h"
#include "sim/volumemgr_backend.h"
#include "support/running_program.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {

using namespace std::chrono_literals;

// What a process holds, read from /proc/<pid>.
struct Footprint {
    size_t threads = 0;
    size_t descriptors = 0;
    size_t rss_kib = 0;
    // Run under a user-mode emulator (a cross build's tests): the resident
    // memory is the emulator's, translated code included, not the daemon's.
    bool emulated = false;
};
Footprint footprint_of(pid_t pid);

// The messages a process writes into the shared-memory log, collected by a
// thread of the test as they come ("CallProxyClient I: Stream reconnect
// succeeded ..."). The queues are created here when nobody has yet.
class DaemonLog {
  public:
    DaemonLog();
    ~DaemonLog();
    DaemonLog(const DaemonLog&) = delete;
    DaemonLog& operator=(const DaemonLog&) = delete;

    struct Line {
        pid_t pid;
        std::chrono::system_clock::time_point time;
        std::string text;
    };
    // The messages of `pid` so far that contain `part`, in order.
    std::vector<Line> lines(pid_t pid, const std::string& part) const;
    size_t count(pid_t pid, const std::string& part) const { return lines(pid, part).size(); }
    // Records the log queue had to drop (its reader fell behind).
    unsigned dropped() const { return dropped_; }

  private:
    void drain_until_stopped();

    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::atomic<unsigned> dropped_{0};
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

// One backend whose Subscribe stream the daemon observes: its server, which a
// test stops, starts and hangs, and a marker event whose VantaEvent case shows
// that its events reach the daemon's subscribers.
struct ObservedBackend {
    // The VantaEvent case its marker becomes.
    vantaapi::VantaEvent::DataCase published_case;
    std::function<void()> send_marker;
    // Streams the backend has seen opened so far (bounded wait for `count`).
    std::function<bool(int count, std::chrono::milliseconds limit)> wait_for_opened;
    std::unique_ptr<sim::SwitchableBackend> server;
};

class FaultDevice {
  public:
    // Serves the broker and every backend, then starts the daemon; use
    // started() to wait (bounded) until it serves and listens on the bus.
    FaultDevice();
    FaultDevice(const FaultDevice&) = delete;
    FaultDevice& operator=(const FaultDevice&) = delete;

    // The daemon serves its API socket, is subscribed on the bus and
    // observes every backend.
    ::testing::AssertionResult started();

    // A channel of its own to the daemon's API.
    static std::shared_ptr<grpc::Channel> api_channel() {
        return grpc::CreateChannel(device_endpoints().vantaapi.address,
                                   grpc::InsecureChannelCredentials());
    }
    // `count` Subscribe streams of `api`, each once its first event (the
    // stream's start) came; throws when one did not.
    std::vector<std::unique_ptr<EventStream>> subscribed(size_t count);

    // The broker in place now: stop_broker() stops it (its streams end as a
    // broker daemon's would), start_broker() serves a new one on the same
    // sockets that knows no subscribers.
    sim::BusBroker& broker();
    void stop_broker();
    void start_broker();
    // A numbered WifiConnectionEvent: its VantaEvent's `reason` is `number`,
    // followed by `padding` bytes when asked.
    void publish_numbered(int number, size_t padding = 0);

    RunningProgram& daemon() { return *daemon_; }
    const DaemonLog& log() const { return log_; }

    // Backends first: they must outlive the daemon's calls to them.
    sim::CallingBackend calling;
    sim::AccountManagerBackend accounts;
    sim::CalendarBackend calendar;
    sim::ConfigManagerBackend configuration;
    sim::SystemControllerBackend system;
    sim::NimboBrandingBackend branding;
    sim::AvatarBackend avatar;
    sim::NimboStatusReporterBackend status_reporter;
    sim::ShareGovernorBackend share_governor;
    sim::NfcBackend nfc;
    sim::VolumeMgrBackend volume;
    std::vector<ObservedBackend> observed;
    std::unique_ptr<sim::SwitchableBackend> volume_server;
    // The daemon's API on one channel, which the test's calls and streams share.
    const std::unique_ptr<vantaapi::VantaApi::Stub> api =
        vantaapi::VantaApi::NewStub(api_channel());

  private:
    mutable std::mutex broker_mutex_;
    std::unique_ptr<sim::BusBroker> broker_;
    DaemonLog log_;
    // Last: the daemon goes before what it talks to.
    std::unique_ptr<RunningProgram> daemon_;
};

// The number a numbered bus event carries, or -1 for any other event.
int number_of(const vantaapi::VantaEvent& event);
// The numbers of the numbered events among `events`, in their order.
std::vector<int> numbers_in(const std::vector<vantaapi::VantaEvent>& events);

// Waits (bounded) until the events of `stream` from index `from` on satisfy
// `enough`; returns those events.
template <typename Enough>
std::vector<vantaapi::VantaEvent> events_from(EventStream& stream, size_t from, Enough enough,
                                              std::chrono::milliseconds limit = 15s) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto all = stream.wait_for(0, 0ms);
        std::vector<vantaapi::VantaEvent> since(all.begin() + std::min(from, all.size()),
                                                all.end());
        if (enough(since) || std::chrono::steady_clock::now() >= until) {
            return since;
        }
        stream.wait_for(all.size() + 1, 50ms);
    }
}

// Runs `step` over and over on `threads` threads, `pause` apart, until
// stopped or gone; counts the steps that returned true.
class Repeated {
  public:
    explicit Repeated(std::function<bool()> step, int threads = 1,
                      std::chrono::milliseconds pause = 0ms) {
        for (int i = 0; i < threads; ++i) {
            threads_.emplace_back([this, step, pause] {
                while (!stop_) {
                    succeeded_ += step() ? 1 : 0;
                    std::this_thread::sleep_for(pause);
                }
            });
        }
    }
    ~Repeated() { stop(); }
    Repeated(const Repeated&) = delete;
    Repeated& operator=(const Repeated&) = delete;

    void stop() {
        stop_ = true;
        for (std::thread& thread : threads_) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }
    int succeeded() const { return succeeded_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<int> succeeded_{0};
    std::vector<std::thread> threads_;
};

// Publishes numbered bus events, one every `period`, while it lives; `next`
// is the number the next one will carry.
struct BusTicker {
    explicit BusTicker(FaultDevice& device, std::chrono::milliseconds period = 5ms)
        : publishing(
              [this, &device] {
                  device.publish_numbered(next++);
                  return true;
              },
              1, period) {}
    std::atomic<int> next{1};
    Repeated publishing;
};

}  // namespace vanta::testing
