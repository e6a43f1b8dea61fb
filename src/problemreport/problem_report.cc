#include "problemreport/problem_report.h"

#include <algorithm>

#include "runtime/logging/loggers.h"

namespace vanta::problemreport {

namespace {
EventTime now() {
    return std::chrono::time_point_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now());
}
}  // namespace

ProblemReportEvent::ProblemReportEvent(std::string event_name, std::string message, EventTime time)
    : event_name_(std::move(event_name)), message_(std::move(message)), time_(time) {}

long long ProblemReportEvent::get_time_since_epoch_in_ms() const {
    return time_.time_since_epoch().count() / 1000000;
}

nlohmann::json ProblemReportEvent::to_json() const {
    return {{"event_name", event_name_},
            {"message", message_},
            {"time_since_epoch_ms", get_time_since_epoch_in_ms()}};
}

ProblemReport::ProblemReport(ProblemReportSpec spec, std::vector<ProblemReportEvent> events)
    : spec_(std::move(spec)),
      logger_(logging::getLogger("[PR_TRACE] " + spec_.id)),
      events_(std::move(events)) {}

std::vector<ProblemReportEvent> ProblemReport::get_recorded_events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

void ProblemReport::log(const std::string& line) const {
    logger_.info("{}", line);
}
void ProblemReport::log_warning(const std::string& line) const {
    logger_.warning("{}", line);
}
void ProblemReport::log_error(const std::string& line) const {
    logger_.error("{}", line);
}

void ProblemReport::record_event(const std::string& name, const std::string& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.emplace_back(name, message, now());
}

void ProblemReport::start_tracking_event(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const EventTime started = now();
    tracked_[name] = started;
    events_.emplace_back(name, "started", started);
}

void ProblemReport::stop_tracking_event(const std::string& name) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto tracked = tracked_.find(name);
    if (tracked == tracked_.end()) {
        lock.unlock();
        log_warning("Trying to stop untracked event [" + name + "]");
        return;
    }
    const EventTime stopped = now();
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(stopped - tracked->second);
    tracked_.erase(tracked);
    events_.emplace_back(name, "finished after " + std::to_string(took.count()) + " ms", stopped);
}

template <typename T>
bool ProblemReport::has_trigger() const {
    return std::any_of(spec_.triggers.begin(), spec_.triggers.end(),
                       [](const Trigger& trigger) { return std::holds_alternative<T>(trigger); });
}

bool ProblemReport::has_crashes() const {
    return has_trigger<CrashTrigger>();
}
bool ProblemReport::has_device_crashes() const {
    return has_trigger<DevCrashTrigger>();
}
bool ProblemReport::has_user_requests() const {
    return has_trigger<UserRequest>();
}
bool ProblemReport::has_cloud_requests() const {
    return has_trigger<CloudRequest>();
}
bool ProblemReport::has_developer_requests() const {
    return has_trigger<DeveloperRequest>();
}

nlohmann::json ProblemReport::get_data(bool hide_personal_data) const {
    nlohmann::json reasons = nlohmann::json::array();
    bool email_hidden = false;
    for (const Trigger& trigger : spec_.triggers) {
        nlohmann::json reason = trigger_to_json(trigger);
        if (hide_personal_data && reason.erase("email") > 0) {
            email_hidden = true;
        }
        reasons.push_back(std::move(reason));
    }
    if (email_hidden) {
        log("Hiding email from data");
    }
    nlohmann::json flags = nlohmann::json::array();
    for (const CollectionFlag flag : spec_.collection_flags) {
        flags.push_back(collection_flag_to_str(flag));
    }
    nlohmann::json events = nlohmann::json::array();
    for (const ProblemReportEvent& event : get_recorded_events()) {
        events.push_back(event.to_json());
    }
    return {{"problem_report_id", spec_.id},
            {"priority", bundle_priority_to_str(spec_.priority)},
            {"reasons", std::move(reasons)},
            {"collection_flags", std::move(flags)},
            {"recorded_events", std::move(events)}};
}

}  // namespace vanta::problemreport
