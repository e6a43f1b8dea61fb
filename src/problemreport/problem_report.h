#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "problemreport/report_types.h"
#include "problemreport/triggers.h"
#include "runtime/logging/logger.h"

namespace vanta::problemreport {

using EventTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::nanoseconds>;

// One step in the handling of a report ("collected", "uploaded", ...).
class ProblemReportEvent {
  public:
    ProblemReportEvent(std::string event_name, std::string message, EventTime time);

    const std::string& get_event_name() const { return event_name_; }
    const std::string& get_message() const { return message_; }
    EventTime get_time() const { return time_; }
    long long get_time_since_epoch_in_ms() const;
    // {"event_name", "message", "time_since_epoch_ms"}
    nlohmann::json to_json() const;

  private:
    std::string event_name_;
    std::string message_;
    EventTime time_;
};

// A report's identity and contents when its bundle is made.
struct ProblemReportSpec {
    std::string id;
    BundlePriority priority = BundlePriority::low;
    std::vector<Trigger> triggers;
    std::set<CollectionFlag> collection_flags;
};

// A problem report: why it was made, what it collects and what happened to
// it. Lines about the report go to the logger "[PR_TRACE] <id>".
// Threading: events may be recorded from several threads.
class ProblemReport {
  public:
    explicit ProblemReport(ProblemReportSpec spec, std::vector<ProblemReportEvent> events = {});
    ProblemReport(const ProblemReport&) = delete;
    ProblemReport& operator=(const ProblemReport&) = delete;

    const std::string& get_id() const { return spec_.id; }
    const std::string& get_short_id() const { return spec_.id; }
    BundlePriority get_priority() const { return spec_.priority; }
    const std::vector<Trigger>& get_triggers() const { return spec_.triggers; }
    const std::set<CollectionFlag>& get_collection_flags() const { return spec_.collection_flags; }
    std::vector<ProblemReportEvent> get_recorded_events() const;

    void log(const std::string& line) const;
    void log_warning(const std::string& line) const;
    void log_error(const std::string& line) const;

    void record_event(const std::string& name, const std::string& message);
    // Records the start of `name`; its stop records how long it took.
    void start_tracking_event(const std::string& name);
    void stop_tracking_event(const std::string& name);

    bool has_crashes() const;
    bool has_device_crashes() const;
    bool has_user_requests() const;
    bool has_cloud_requests() const;
    bool has_developer_requests() const;

    // The metadata of the report; `hide_personal_data` drops every trigger's
    // "email".
    nlohmann::json get_data(bool hide_personal_data) const;

  private:
    template <typename T>
    bool has_trigger() const;

    const ProblemReportSpec spec_;
    const logging::Logger& logger_;
    mutable std::mutex mutex_;
    std::vector<ProblemReportEvent> events_;
    std::map<std::string, EventTime> tracked_;
};

}  // namespace vanta::problemreport
