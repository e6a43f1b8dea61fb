#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <grpcpp/grpcpp.h>

#include "problemreporter.grpc.pb.h"
#include "sim/bounded_history.h"

namespace vanta::sim {

// The problem reporter: records every upload request; uploads can be held
// until their owner releases them, and both answers are configurable.
class ProblemReporterBackend final : public vanta::problemreporter::ProblemReporter::Service {
  public:
    grpc::Status Upload(grpc::ServerContext* context,
                        const vanta::problemreporter::UploadRequest* request,
                        vanta::problemreporter::UploadResponse* response) override {
        std::unique_lock<std::mutex> lock(mutex_);
        uploads_.add(*request);
        changed_.notify_all();
        // Polled: a cancelled call signals nothing.
        while (holding_ && !context->IsCancelled()) {
            changed_.wait_for(lock, std::chrono::milliseconds(10));
        }
        if (context->IsCancelled()) {
            return grpc::Status(grpc::StatusCode::CANCELLED, "cancelled");
        }
        if (upload_error_) {
            return *upload_error_;
        }
        response->set_success(upload_success_);
        return grpc::Status::OK;
    }

    grpc::Status GetPRBFileLocation(grpc::ServerContext* /*context*/,
                                    const vanta::problemreporter::ProblemReportId* request,
                                    vanta::problemreporter::FilePath* response) override {
        std::lock_guard<std::mutex> lock(mutex_);
        location_requests_.add(request->id());
        if (location_error_) {
            return *location_error_;
        }
        response->set_path(location_);
        return grpc::Status::OK;
    }

    // Uploads wait until release() while held.
    void hold_uploads() {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = true;
    }
    void release_uploads() {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = false;
        changed_.notify_all();
    }
    void answer_uploads(bool success) {
        std::lock_guard<std::mutex> lock(mutex_);
        upload_success_ = success;
    }
    void fail_uploads(grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        upload_error_ = std::move(status);
    }
    void answer_location(std::string path) {
        std::lock_guard<std::mutex> lock(mutex_);
        location_ = std::move(path);
    }
    void fail_location(grpc::Status status) {
        std::lock_guard<std::mutex> lock(mutex_);
        location_error_ = std::move(status);
    }

    // Waits (bounded) until `count` uploads have arrived.
    bool wait_for_uploads(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return uploads_.total() >= count; });
    }
    std::vector<vanta::problemreporter::UploadRequest> uploads() {
        std::lock_guard<std::mutex> lock(mutex_);
        return uploads_.entries();
    }
    std::vector<std::string> location_requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return location_requests_.entries();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool holding_ = false;
    bool upload_success_ = true;
    std::optional<grpc::Status> upload_error_;
    std::string location_;
    std::optional<grpc::Status> location_error_;
    BoundedHistory<vanta::problemreporter::UploadRequest> uploads_;
    BoundedHistory<std::string> location_requests_;
};

}  // namespace vanta::sim
