#include "runtime/logging/metrics_dispatch_client.h"

#include <mutex>
#include <stdexcept>

#include <grpcpp/grpcpp.h>

#include "metricsdispatch.grpc.pb.h"

namespace vanta::metricsdispatch {

namespace {

class MetricsDispatchClientImpl final : public MetricsDispatchClient {
  public:
    MetricsDispatchClientImpl(const std::string& address, std::chrono::milliseconds timeout)
        : stub_(MetricsDispatch::NewStub(
              grpc::CreateChannel(address, grpc::InsecureChannelCredentials()))),
          timeout_(timeout) {}

    void SendMetric(const Metric& metric) override {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + timeout_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            active_ = &context;
        }
        RequestStatus reply;
        const grpc::Status status = stub_->SendMetric(&context, metric, &reply);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            active_ = nullptr;
        }
        if (!status.ok()) {
            throw std::runtime_error("SendMetric failed: " + status.error_message());
        }
    }

    void cancel() override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (active_ != nullptr) {
            active_->TryCancel();
        }
    }

  private:
    std::unique_ptr<MetricsDispatch::Stub> stub_;
    std::chrono::milliseconds timeout_;
    std::mutex mutex_;
    grpc::ClientContext* active_ = nullptr;
};

}  // namespace

std::unique_ptr<MetricsDispatchClient> create_metricsdispatch_client(
    const std::string& address, std::chrono::milliseconds timeout) {
    return std::make_unique<MetricsDispatchClientImpl>(address, timeout);
}

}  // namespace vanta::metricsdispatch
