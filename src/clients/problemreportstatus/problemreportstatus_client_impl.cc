#include "clients/problemreportstatus/problemreportstatus_client_impl.h"

#include <variant>

#include "clients/common/unary_call.h"
#include "runtime/logging/loggers.h"

namespace vanta::problemreport {

namespace {

using Stub = problemreportstatus::ProblemReportStatus::Stub;

struct SourceName {
    const char* operator()(const CrashTrigger&) const { return "Crash"; }
    const char* operator()(const DevCrashTrigger&) const { return "Dev Crash"; }
    const char* operator()(const UserRequest&) const { return "User"; }
    const char* operator()(const CloudRequest&) const { return "Cloud"; }
    const char* operator()(const DeveloperRequest&) const { return "Developer"; }
};

}  // namespace

problemreportstatus::EventStatus to_event_status(const ProblemReportEvent& event) {
    problemreportstatus::EventStatus status;
    status.set_name(event.get_event_name());
    status.set_event_message(event.get_message());
    status.set_timepoint(event.get_time_since_epoch_in_ms());
    return status;
}

problemreportstatus::BundleStatus to_bundle_status(const ProblemReportBundle& bundle) {
    const ProblemReport& report = *bundle.get_problem_report();
    problemreportstatus::BundleStatus status;
    status.set_problemreport_id(report.get_id());
    for (const Trigger& trigger : report.get_triggers()) {
        status.add_sources(std::visit(SourceName{}, trigger));
        if (const auto* user = std::get_if<UserRequest>(&trigger)) {
            status.set_description(user->description);
        }
    }
    for (const ProblemReportEvent& event : report.get_recorded_events()) {
        *status.add_events() = to_event_status(event);
    }
    status.set_bundle_name(bundle.get_bundle_name());
    return status;
}

ProblemReportStatusClientImpl::ProblemReportStatusClientImpl(const Endpoint& endpoint)
    : GrpcClient(endpoint.address),
      service_name_(endpoint.service_name),
      timeout_(endpoint.deadline),
      logger_(logging::getLogger("ProblemReportStatusClient")) {}

problemreportstatus::BundleStatusList ProblemReportStatusClientImpl::GetProblemReports() {
    return clients::call_or_throw(stub(), &Stub::GetProblemReports, google::protobuf::Empty(),
                                  {service_name_, "GetProblemReports", timeout_, logger_});
}

void ProblemReportStatusClientImpl::TrackProblemReportProgress(const ProblemReportBundle& bundle) {
    clients::call_or_throw(stub(), &Stub::TrackProblemReportProgress, to_bundle_status(bundle),
                           {service_name_, "TrackProblemReportProgress", timeout_, logger_});
}

void ProblemReportStatusClientImpl::UpdateProblemReportProgress(const std::string& id,
                                                                const ProblemReportEvent& event) {
    problemreportstatus::EventStatusRequest request;
    request.set_problemreport_id(id);
    *request.mutable_event() = to_event_status(event);
    clients::call_or_throw(stub(), &Stub::UpdateProblemReportProgress, request,
                           {service_name_, "UpdateProblemReportProgress", timeout_, logger_});
}

}  // namespace vanta::problemreport

namespace vanta {

std::unique_ptr<problemreport::ProblemReportStatusClient> create_problemreportstatus_client(
    const Endpoint& endpoint) {
    return std::make_unique<problemreport::ProblemReportStatusClientImpl>(endpoint);
}

}  // namespace vanta
