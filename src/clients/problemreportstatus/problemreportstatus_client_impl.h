#pragma once

#include <chrono>
#include <string>

#include "clients/problemreportstatus/problemreportstatus_client.h"
#include "problemreportstatus.grpc.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::problemreport {

class ProblemReportStatusClientImpl final
    : public GrpcClient<problemreportstatus::ProblemReportStatus, ProblemReportStatusClient> {
  public:
    explicit ProblemReportStatusClientImpl(const Endpoint& endpoint);

    problemreportstatus::BundleStatusList GetProblemReports() override;
    void TrackProblemReportProgress(const ProblemReportBundle& bundle) override;
    void UpdateProblemReportProgress(const std::string& id,
                                     const ProblemReportEvent& event) override;

  private:
    const std::string service_name_;
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::problemreport
