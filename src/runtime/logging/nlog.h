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

constexpr const char* kMetricsDispatchAddress = "unix:/tmp/metricsdispatch_service";
constexpr std::chrono::milliseconds kMetricsDispatchTimeout{20000};

// How event types are named in messages: "EventType metric" and so on.
std::string to_string(EventType type);

// Sends queued metrics in order on its own thread. Destroying it stops and
// joins the thread; records not yet sent are dropped.
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
    std::thread thread_;
};

// Creates the process-wide worker, replacing (and destroying) any earlier one.
void init_logger();
// Same, with a client of the caller's choice (tests, tools).
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
