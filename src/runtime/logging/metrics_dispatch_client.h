#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "metricsdispatch.pb.h"

namespace vanta::metricsdispatch {

// Client of the metrics dispatch service, which forwards metric records off
// the device.
class MetricsDispatchClient {
  public:
    virtual ~MetricsDispatchClient() = default;
    // Sends one record; throws std::runtime_error when the service does not
    // accept it.
    virtual void SendMetric(const Metric& metric) = 0;
    // Aborts a SendMetric() in progress on another thread.
    virtual void cancel() = 0;
};

std::unique_ptr<MetricsDispatchClient> create_metricsdispatch_client(
    const std::string& address, std::chrono::milliseconds timeout);

}  // namespace vanta::metricsdispatch
