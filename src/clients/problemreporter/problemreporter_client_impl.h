#pragma once

#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "clients/problemreporter/problemreporter_client.h"
#include "problemreporter.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::problemreport {

// Threading: operations may be called from several threads. Each upload runs
// on a task of its own; destruction cancels the uploads still running and
// waits for their tasks.
class ProblemReporterClientImpl final
    : public GrpcClient<problemreporter::ProblemReporter, ProblemReporterClient> {
  public:
    // Collecting and uploading a bundle takes a while; a reporter that has not
    // answered after this long is taken as failed.
    static constexpr std::chrono::seconds kUploadDeadline{300};

    explicit ProblemReporterClientImpl(const Endpoint& endpoint);
    ~ProblemReporterClientImpl() override;

    Upload developer_problem_report(const std::vector<std::string>& collection_flags,
                                    const std::string& debug_json,
                                    const std::string& metadata_json) override;
    Upload user_problem_report(const std::string& description,
                               problemreporter::DestinationType destination,
                               const std::vector<std::string>& collection_flags) override;
    Upload cloud_problem_report(const std::string& metadata) override;
    Upload crash_problem_report(const std::string& process_id, const std::string& process_name,
                                const std::string& file_name,
                                const std::string& stack_trace_path) override;
    Upload device_crash_problem_report(const std::string& device_path, const std::string& dump_file,
                                       const std::string& driver_name) override;
    std::string get_prb_file_location(const std::string& id) override;

  private:
    Upload async_problem_report(const problemreporter::UploadRequest& request);
    bool upload_task(const problemreporter::UploadRequest& request);

    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
    std::mutex mutex_;
    bool closing_ = false;
    std::set<grpc::ClientContext*> running_calls_;
    std::vector<Upload> uploads_;
};

}  // namespace vanta::problemreport
