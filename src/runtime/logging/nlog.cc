#include "runtime/logging/nlog.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "runtime/logging/loggers.h"
#include "runtime/thread_name.h"

namespace nlog {

std::string to_string(EventType type) {
    switch (type) {
        case vanta::metricsdispatch::METRIC:
            return "EventType metric";
        case vanta::metricsdispatch::DEBUG:
            return "EventType debug";
        case vanta::metricsdispatch::ALARM:
            return "EventType alarm";
        case vanta::metricsdispatch::IOT:
            return "EventType iot";
        case vanta::metricsdispatch::BEHAVIORAL:
            return "EventType behavioral";
        case vanta::metricsdispatch::DIAGNOSTIC:
            return "EventType diagnostic";
        case vanta::metricsdispatch::CUSTOMER:
            return "EventType customer";
        case vanta::metricsdispatch::BUSINESS:
            return "EventType business";
        default:
            return "EventType unknown";
    }
}

MetricsWorker::MetricsWorker(std::unique_ptr<vanta::metricsdispatch::MetricsDispatchClient> client)
    : client_(std::move(client)) {
    thread_ = std::thread([this] { readQueue(); });
}

MetricsWorker::~MetricsWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    condition_.notify_one();
    client_->cancel();
    thread_.join();
}

void MetricsWorker::push(const Metric& metric) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(metric);
    }
    condition_.notify_one();
}

void MetricsWorker::readQueue() {
    vanta::set_thread_name("metrics_worker");
    for (;;) {
        Metric metric;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            condition_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_) {
                return;
            }
            metric = std::move(queue_.front());
            queue_.pop_front();
        }
        try {
            client_->SendMetric(metric);
            service_down_ = false;
        } catch (const std::exception& e) {
            // The dispatch service may not be up yet, or not run at all; one
            // line per outage says so without a line for every metric.
            bool stopping;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                stopping = stop_;
            }
            if (!stopping && !service_down_) {
                logging::getLogger("nlog").warning(
                    "Dropping metric {}: {} (further metrics are dropped silently until one is "
                    "sent)",
                    metric.key(), e.what());
            }
            service_down_ = true;
        }
    }
}

namespace {

std::mutex& worker_mutex() {
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<MetricsWorker>& worker() {
    static std::unique_ptr<MetricsWorker> instance;
    return instance;
}

}  // namespace

void init_logger(std::unique_ptr<vanta::metricsdispatch::MetricsDispatchClient> client) {
    auto replacement = std::make_unique<MetricsWorker>(std::move(client));
    std::unique_ptr<MetricsWorker> previous;
    {
        std::lock_guard<std::mutex> lock(worker_mutex());
        previous = std::move(worker());
        worker() = std::move(replacement);
    }
}

void stop_logger() {
    std::unique_ptr<MetricsWorker> previous;
    {
        std::lock_guard<std::mutex> lock(worker_mutex());
        previous = std::move(worker());
    }
}

MetricsWorker& metrics_worker() {
    std::lock_guard<std::mutex> lock(worker_mutex());
    return *worker();
}

LoggerImpl::LoggerImpl(std::string name) : name_(std::move(name)) {}

void LoggerImpl::log(EventType type, const std::string& key, const nlohmann::json& data) const {
    log(std::set<EventType>{type}, key, data);
}

void LoggerImpl::log(const std::set<EventType>& types, const std::string& key,
                     const nlohmann::json& data) const {
    if (key.empty()) {
        throw std::runtime_error(name_ + ": metric key is empty");
    }
    if (data.empty()) {
        throw std::runtime_error(name_ + ": metric data is empty");
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now);
    Metric metric;
    for (EventType type : types) {
        metric.add_type(type);
    }
    metric.set_timestamp_seconds(seconds.count());
    metric.set_timestamp_nanos(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now - seconds).count());
    metric.set_tag(name_);
    metric.set_key(key);
    metric.set_process_name(program_invocation_short_name);
    metric.set_json_data(data.dump());
    // Before init_logger() and after stop_logger() (the shutdown window, when
    // bus messages may still arrive) there is no worker: the metric is dropped.
    std::lock_guard<std::mutex> lock(worker_mutex());
    if (worker()) {
        worker()->push(metric);
    }
}

LoggerImpl create_logger(const std::string& name) {
    return LoggerImpl(name);
}

}  // namespace nlog
