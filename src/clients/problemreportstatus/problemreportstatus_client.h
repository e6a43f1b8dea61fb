#pragma once

#include <memory>
#include <string>

#include "problemreport/problem_report.h"
#include "problemreport/problem_report_bundle.h"
#include "problemreportstatus.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::problemreport {

// The problem-report status service, which keeps the progress of reports.
// Failed calls raise the typed errors of the client layer.
class ProblemReportStatusClient : public GrpcClientBase {
  public:
    virtual problemreportstatus::BundleStatusList GetProblemReports() = 0;
    // Registers the bundle's report with its sources and events so far.
    virtual void TrackProblemReportProgress(const ProblemReportBundle& bundle) = 0;
    virtual void UpdateProblemReportProgress(const std::string& id,
                                             const ProblemReportEvent& event) = 0;
};

// The status entry of a bundle: its report's id, one source per trigger
// ("Crash", "Dev Crash", "User", "Cloud", "Developer"), its events, its name;
// `description` holds the user's description when a user asked for it.
problemreportstatus::BundleStatus to_bundle_status(const ProblemReportBundle& bundle);
problemreportstatus::EventStatus to_event_status(const ProblemReportEvent& event);

}  // namespace vanta::problemreport

namespace vanta {

// A client of the problem-report status service at `endpoint` (the catalogue's
// problemreportstatus row).
std::unique_ptr<problemreport::ProblemReportStatusClient> create_problemreportstatus_client(
    const Endpoint& endpoint);

}  // namespace vanta
