#include "fault_device.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "api/api_call.h"
#include "runtime/logging/logtask.h"
#include "support/data_files.h"
#include "support/wait_until.h"
#include "tools/logreader/queue_reader.h"

namespace vanta::testing {

using vantaapi::VantaEvent;

Footprint footprint_of(pid_t pid) {
    namespace fs = std::filesystem;
    const fs::path proc = "/proc/" + std::to_string(pid);
    const auto entries = [&](const char* folder) {
        std::error_code error;
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(proc / folder, error), fs::directory_iterator()));
    };
    Footprint footprint{entries("task"), entries("fd")};
    std::error_code error;
    footprint.emulated =
        fs::read_symlink(proc / "exe", error).filename().string().rfind("qemu-", 0) == 0;
    std::ifstream status(proc / "status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            footprint.rss_kib = std::stoul(line.substr(6));
        }
    }
    return footprint;
}

DaemonLog::DaemonLog() : reader_([this] { drain_until_stopped(); }) {}

DaemonLog::~DaemonLog() {
    stop_ = true;
    reader_.join();
}

void DaemonLog::drain_until_stopped() {
    logging::logtask::LogQueues queues;
    logreader::MessageAssembler assembler;
    while (!stop_) {
        const auto taken = logreader::take_waiting(queues.log(), assembler);
        dropped_ += taken.dropped;
        if (!taken.messages.empty()) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& message : taken.messages) {
                lines_.push_back({static_cast<pid_t>(message.pid),
                                  std::chrono::system_clock::time_point(
                                      std::chrono::microseconds(message.timestamp_us)),
                                  message.text});
            }
        }
        if (taken.read() == 0) {
            queues.log().wait_for_add(20);
        }
    }
}

std::vector<DaemonLog::Line> DaemonLog::lines(pid_t pid, const std::string& part) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Line> found;
    std::copy_if(lines_.begin(), lines_.end(), std::back_inserter(found), [&](const Line& line) {
        return line.pid == pid && line.text.find(part) != std::string::npos;
    });
    return found;
}

int number_of(const vantaapi::VantaEvent& event) {
    if (!event.has_new_wifi_status()) {
        return -1;
    }
    try {
        return std::stoi(event.new_wifi_status().reason());
    } catch (const std::exception&) {
        return -1;
    }
}

std::vector<std::unique_ptr<EventStream>> FaultDevice::subscribed(size_t count) {
    std::vector<std::unique_ptr<EventStream>> streams;
    while (streams.size() < count) {
        streams.push_back(std::make_unique<EventStream>(*api));
        if (streams.back()->wait_for(1).size() != 1) {
            throw std::runtime_error("a Subscribe stream did not start");
        }
    }
    return streams;
}

std::vector<int> numbers_in(const std::vector<vantaapi::VantaEvent>& events) {
    std::vector<int> numbers;
    for (const auto& event : events) {
        if (const int number = number_of(event); number >= 0) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

namespace {

// `streams` publishes the backend's events and counts its opened streams; its
// server is started.
template <typename Event, typename Streams>
ObservedBackend observed_backend(const Endpoint& row, grpc::Service& service, Streams& streams,
                                 const std::string& marker, VantaEvent::DataCase published_case) {
    ObservedBackend backend;
    backend.published_case = published_case;
    const auto event = from_text<Event>(marker);
    backend.send_marker = [&streams, event] { streams.publish(event); };
    backend.wait_for_opened = [&streams](int count, std::chrono::milliseconds limit) {
        return streams.wait_for_opened(count, limit);
    };
    backend.server =
        std::make_unique<sim::SwitchableBackend>(socket_name(row), row.address, service);
    backend.server->start();
    return backend;
}

}  // namespace

FaultDevice::FaultDevice() {
    const EndpointCatalogue& e = device_endpoints();
    observed.push_back(observed_backend<calling::Event>(e.callproxy, calling, calling,
                                                        "floor_availability { call_id: 7 }",
                                                        VantaEvent::kNewFloorAvailability));
    observed.push_back(observed_backend<accountmanager::Event>(
        e.account_manager, accounts, accounts.events,
        "what: ACCOUNT_REGISTRATION_CHANGED account_id { id: 'a1' }", VantaEvent::kAccountEvent));
    observed.push_back(observed_backend<calendar::CalendarUpdate>(
        e.calendar, calendar, calendar, "status: SUCCESS list { items { id: 'b-1' } }",
        VantaEvent::kNewCalendarState));
    observed.push_back(observed_backend<configmanager::Event>(
        e.configmanager, configuration, configuration.streams, "what: TIMEZONE_CHANGED",
        VantaEvent::kConfigManagerEvent));
    observed.push_back(observed_backend<systemcontroller::Event>(
        e.systemcontroller, system, system.streams, "what: SYSTEM_STATE_CHANGED",
        VantaEvent::kSystemEvent));
    observed.push_back(observed_backend<nimbobranding::Event>(
        e.nimbobranding, branding, branding, "what: SIGNAGE_STARTED", VantaEvent::kBrandingEvent));
    observed.push_back(observed_backend<avatar::Event>(e.avatar, avatar, avatar.streams,
                                                       "avatar_info { success: true uuid: 'u1' }",
                                                       VantaEvent::kNewAvatarInfoEvent));
    observed.push_back(observed_backend<nimbostatusreporter::Event>(
        e.nimbostatusreporter, status_reporter, status_reporter.streams, "what: PHONEBOOK_CHANGED",
        VantaEvent::kNimboStatusReporterEvent));
    observed.push_back(observed_backend<sharegovernor::Event>(
        e.share_governor, share_governor, share_governor.events, "active_shares_changed { }",
        VantaEvent::kShareGovernorEvent));
    observed.push_back(observed_backend<nfc::Event>(e.nfc, nfc, nfc,
                                                    "card_state_changed { state: CARD_INSERTED }",
                                                    VantaEvent::kCardStateChanged));
    volume_server = std::make_unique<sim::SwitchableBackend>(socket_name(e.volumemgr),
                                                             e.volumemgr.address, volume);
    volume_server->start();
    start_broker();
    daemon_ = std::make_unique<RunningProgram>(std::vector<std::string>{VANTAAPID_PATH},
                                               RunningProgram::Output::discarded);
}

::testing::AssertionResult FaultDevice::started() {
    const std::string api_address = device_endpoints().vantaapi.address;
    if (!socket_appears(api_address.substr(api_address.find(':') + 1), 15s)) {
        return ::testing::AssertionFailure() << "the daemon never listened on " << api_address;
    }
    if (!broker().wait_for_open_streams("VantaApi", 1, 15s)) {
        return ::testing::AssertionFailure() << "the daemon never read the bus";
    }
    for (const ObservedBackend& backend : observed) {
        if (!backend.wait_for_opened(1, 15s)) {
            return ::testing::AssertionFailure()
                   << "the daemon never observed " << backend.server->name();
        }
    }
    return ::testing::AssertionSuccess();
}

sim::BusBroker& FaultDevice::broker() {
    std::lock_guard<std::mutex> lock(broker_mutex_);
    return *broker_;
}

void FaultDevice::stop_broker() {
    std::unique_lock<std::mutex> lock(broker_mutex_);
    const std::unique_ptr<sim::BusBroker> stopped = std::move(broker_);
    lock.unlock();
    // Destroyed on return, outside the lock: publishing goes on meanwhile.
}

void FaultDevice::start_broker() {
    auto started = std::make_unique<sim::BusBroker>(sim::BusBroker::kDeviceAddresses);
    std::lock_guard<std::mutex> lock(broker_mutex_);
    broker_ = std::move(started);
}

void FaultDevice::publish_numbered(int number, size_t padding) {
    pubsub::PubSubMsg message;
    message.set_topic("WifiConnectionEvent");
    message.set_event(1);
    message.set_data(std::to_string(number) +
                     (padding > 0 ? ":" + std::string(padding, 'x') : std::string()));
    std::lock_guard<std::mutex> lock(broker_mutex_);
    if (broker_) {
        broker_->deliver(message);
    }
}

}  // namespace vanta::testing
