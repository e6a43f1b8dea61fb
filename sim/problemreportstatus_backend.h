#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "problemreportstatus.grpc.pb.h"
#include "sim/bounded_history.h"

namespace vanta::sim {

// The problem-report status service: answers a configured list of reports and
// records what it is told.
class ProblemReportStatusBackend final
    : public vanta::problemreportstatus::ProblemReportStatus::Service {
  public:
    grpc::Status GetProblemReports(
        grpc::ServerContext* /*context*/, const google::protobuf::Empty* /*request*/,
        vanta::problemreportstatus::BundleStatusList* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (error_) {
            return *error_;
        }
        *response = reports_;
        return grpc::Status::OK;
    }

    grpc::Status TrackProblemReportProgress(grpc::ServerContext* /*context*/,
                                            const vanta::problemreportstatus::BundleStatus* request,
                                            google::protobuf::Empty* /*response*/) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tracked_.add(*request);
        return error_ ? *error_ : grpc::Status::OK;
    }

    grpc::Status UpdateProblemReportProgress(
        grpc::ServerContext* /*context*/,
        const vanta::problemreportstatus::EventStatusRequest* request,
        google::protobuf::Empty* /*response*/) override {
        std::lock_guard<std::mutex> lock(mutex_);
        updates_.add(*request);
        return error_ ? *error_ : grpc::Status::OK;
    }

    void answer(vanta::problemreportstatus::BundleStatusList reports) {
        std::lock_guard<std::mutex> lock(mutex_);
        reports_ = std::move(reports);
    }
    // Every call answers `status`.
    void fail(grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = std::move(status);
    }
    std::vector<vanta::problemreportstatus::BundleStatus> tracked() {
        std::lock_guard<std::mutex> lock(mutex_);
        return tracked_.entries();
    }
    std::vector<vanta::problemreportstatus::EventStatusRequest> updates() {
        std::lock_guard<std::mutex> lock(mutex_);
        return updates_.entries();
    }

  private:
    std::mutex mutex_;
    vanta::problemreportstatus::BundleStatusList reports_;
    std::optional<grpc::Status> error_;
    BoundedHistory<vanta::problemreportstatus::BundleStatus> tracked_;
    BoundedHistory<vanta::problemreportstatus::EventStatusRequest> updates_;
};

}  // namespace vanta::sim
