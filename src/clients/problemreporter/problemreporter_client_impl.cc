#include "clients/problemreporter/problemreporter_client_impl.h"

#include <algorithm>

#include "clients/common/unary_call.h"
#include "rpc/client/grpc_exceptions.h"
#include "rpc/client/service_address.h"
#include "runtime/logging/loggers.h"

namespace vanta::problemreport {

namespace {

using problemreporter::UploadRequest;
using Stub = problemreporter::ProblemReporter::Stub;

void add_flags(UploadRequest& request, const std::vector<std::string>& flags) {
    for (const auto& flag : flags) {
        request.add_collection_flags(flag);
    }
}

bool is_finished(const ProblemReporterClient::Upload& upload) {
    return upload.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

ProblemReporterClientImpl::ProblemReporterClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("ProblemReporterClient")) {}

ProblemReporterClientImpl::~ProblemReporterClientImpl() {
    std::vector<Upload> uploads;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        for (grpc::ClientContext* call : running_calls_) {
            call->TryCancel();
        }
        uploads.swap(uploads_);
    }
    for (const Upload& upload : uploads) {
        upload.wait();
    }
}

ProblemReporterClient::Upload ProblemReporterClientImpl::developer_problem_report(
    const std::vector<std::string>& collection_flags, const std::string& debug_json,
    const std::string& metadata_json) {
    UploadRequest request;
    request.mutable_developer()->set_debug_json(debug_json);
    request.mutable_developer()->set_metadata_json(metadata_json);
    add_flags(request, collection_flags);
    return async_problem_report(request);
}

ProblemReporterClient::Upload ProblemReporterClientImpl::user_problem_report(
    const std::string& description, problemreporter::DestinationType destination,
    const std::vector<std::string>& collection_flags) {
    UploadRequest request;
    request.mutable_user()->set_description(description);
    request.set_destination_type(destination);
    add_flags(request, collection_flags);
    return async_problem_report(request);
}

ProblemReporterClient::Upload ProblemReporterClientImpl::cloud_problem_report(
    const std::string& metadata) {
    UploadRequest request;
    request.mutable_cloud()->set_metadata(metadata);
    request.set_destination_type(problemreporter::CLOUD);
    return async_problem_report(request);
}

ProblemReporterClient::Upload ProblemReporterClientImpl::crash_problem_report(
    const std::string& process_id, const std::string& process_name, const std::string& file_name,
    const std::string& stack_trace_path) {
    UploadRequest request;
    auto& crash = *request.mutable_crash();
    crash.set_process_id(process_id);
    crash.set_process_name(process_name);
    crash.set_file_name(file_name);
    crash.set_stack_trace_path(stack_trace_path);
    return async_problem_report(request);
}

ProblemReporterClient::Upload ProblemReporterClientImpl::device_crash_problem_report(
    const std::string& device_path, const std::string& dump_file, const std::string& driver_name) {
    UploadRequest request;
    auto& crash = *request.mutable_dev_crash();
    crash.set_device_path(device_path);
    crash.set_dump_file(dump_file);
    crash.set_driver_name(driver_name);
    return async_problem_report(request);
}

std::string ProblemReporterClientImpl::get_prb_file_location(const std::string& id) {
    problemreporter::ProblemReportId request;
    request.set_id(id);
    return clients::call_or_throw(stub(), &Stub::GetPRBFileLocation, request,
                                  {service_name_, "GetPRBFileLocation", timeout_, logger_})
        .path();
}

ProblemReporterClient::Upload ProblemReporterClientImpl::async_problem_report(
    const UploadRequest& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    uploads_.erase(std::remove_if(uploads_.begin(), uploads_.end(), is_finished), uploads_.end());
    logger_.info("Pending requests: {}", uploads_.size());
    Upload upload =
        std::async(std::launch::async, [this, request] { return upload_task(request); }).share();
    uploads_.push_back(upload);
    return upload;
}

bool ProblemReporterClientImpl::upload_task(const UploadRequest& request) {
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + kUploadDeadline);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closing_) {
            return false;
        }
        running_calls_.insert(&context);
    }
    problemreporter::UploadResponse response;
    const grpc::Status status = stub().Upload(&context, request, &response);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_calls_.erase(&context);
    }
    if (!status.ok()) {
        logger_.error("Upload request failed, grpc error: {}, code: {}", status.error_message(),
                      GrpcStatusCodeToString(status.error_code()));
        return false;
    }
    return response.success();
}

}  // namespace vanta::problemreport

namespace vanta {

std::unique_ptr<problemreport::ProblemReporterClient> create_problemreporter_client(
    const Endpoint& endpoint) {
    return std::make_unique<problemreport::ProblemReporterClientImpl>(resolve_endpoint(endpoint));
}

}  // namespace vanta
