#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "metricsdispatch.grpc.pb.h"

namespace vanta::sim {

// The metrics dispatch service: records every metric it is sent, with the
// metadata of the call that carried it.
class MetricsDispatchBackend final : public vanta::metricsdispatch::MetricsDispatch::Service {
  public:
    grpc::Status SendMetric(grpc::ServerContext* context,
                            const vanta::metricsdispatch::Metric* request,
                            vanta::metricsdispatch::RequestStatus* response) override {
        std::map<std::string, std::string> metadata;
        for (const auto& [key, value] : context->client_metadata()) {
            metadata.emplace(std::string(key.data(), key.size()),
                             std::string(value.data(), value.size()));
        }
        response->set_status(true);
        std::lock_guard<std::mutex> lock(mutex_);
        metrics_.push_back(*request);
        metadata_.push_back(std::move(metadata));
        changed_.notify_all();
        return grpc::Status::OK;
    }

    // Waits (bounded) until `count` metrics have arrived.
    bool wait_for(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return metrics_.size() >= count; });
    }
    std::vector<vanta::metricsdispatch::Metric> metrics() {
        std::lock_guard<std::mutex> lock(mutex_);
        return metrics_;
    }
    std::vector<std::map<std::string, std::string>> metadata() {
        std::lock_guard<std::mutex> lock(mutex_);
        return metadata_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<vanta::metricsdispatch::Metric> metrics_;
    std::vector<std::map<std::string, std::string>> metadata_;
};

}  // namespace vanta::sim
