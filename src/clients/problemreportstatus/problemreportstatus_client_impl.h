#pragma once

#include <chrono>
#include <string>

#include "clients/problemreportstatus/problemreportstatus_client.h"
#include "problemreportstatus.grpc.pb.h"
#include "rpc/client/grpc_client.h"
#include "runtime/logging/logger.h"

namespace vanta::problemreport {

class ProblemReportStatusClientImpl final
    : public GrpcClient<problemreportstatus::ProblemReportStatus, ProblemReportStatusClient> {
  public:
    ProblemReportStatusClientImpl(const std::string& address, std::chrono::milliseconds timeout);

    problemreportstatus::BundleStatusList GetProblemReports() override;
    void TrackProblemReportProgress(const ProblemReportBundle& bundle) override;
    void UpdateProblemReportProgress(const std::string& id,
                                     const ProblemReportEvent& event) override;

  private:
    const std::chrono::milliseconds timeout_;
    logging::Logger& logger_;
};

}  // namespace vanta::problemreport
