#pragma once

// Structured metrics: records built by named metric loggers and sent, on a
// worker thread of their own, to the metrics dispatch service.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "metricsdispatch.pb.h"
#include "runtime/logging/metrics_dispatch_client.h"

namespace nlog {

using EventType = vanta::metricsdispatch::EventType;
using Metric = vanta::metricsdispatch::Metric;

// How event types are named in messages: "EventType metric" and so on.
std::string to_string(EventType type);

// Sends queued metrics in order on its own thread. A metric the service does
// not take is dropped; the first drop after a sent metric (or at start) is
// logged, the rest of the outage is not. Destroying it stops and joins the
// thread; records not yet sent are dropped.
class MetricsWorker {
  public:
    explicit MetricsWorker(std::unique_ptr<vanta::metricsdispatch::MetricsDispatchClient> client);
    ~MetricsWorker();
    MetricsWorker(const MetricsWorker&) = delete;
    MetricsWorker& operator=(const MetricsWorker&) = delete;

    void push(const Metric& metric);

  private:
    void readQueue();

    std::mutex mutex_;
    std::condition_variable condition_;
    std::deque<Metric> queue_;
    bool stop_ = false;
    std::unique_ptr<vanta::metricsdispatch::MetricsDispatchClient> client_;
    // Whether the last send failed. Worker thread only.
    bool service_down_ = false;
    std::thread thread_;
};

// Creates the process-wide worker sending through `client` (the daemon's is
// a client of the metrics dispatch service's endpoint), replacing (and
// destroying) any earlier one.
void init_logger(std::unique_ptr<vanta::metricsdispatch::MetricsDispatchClient> client);
void stop_logger();
// REQUIRES: a worker exists (between init_logger() and stop_logger()).
MetricsWorker& metrics_worker();

// Builds metric records under one name and pushes them to the worker.
class LoggerImpl {
  public:
    explicit LoggerImpl(std::string name);

    void log(EventType type, const std::string& key, const nlohmann::json& data) const;
    void log(const std::set<EventType>& types, const std::string& key,
             const nlohmann::json& data) const;

  private:
    std::string name_;
};

LoggerImpl create_logger(const std::string& name);

}  // namespace nlog
