#pragma once

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "problemreporter.pb.h"
#include "rpc/client/endpoint_catalogue.h"
#include "rpc/client/grpc_client_base.h"

namespace vanta::problemreport {

// The problem reporter, which collects report bundles and uploads them.
// Every *_problem_report operation starts its upload and returns at once; the
// future yields whether the reporter accepted it (false for any failure; it
// never throws). The caller may wait on it or drop it.
class ProblemReporterClient : public GrpcClientBase {
  public:
    using Upload = std::shared_future<bool>;

    virtual Upload developer_problem_report(const std::vector<std::string>& collection_flags,
                                            const std::string& debug_json,
                                            const std::string& metadata_json) = 0;
    virtual Upload user_problem_report(const std::string& description,
                                       problemreporter::DestinationType destination,
                                       const std::vector<std::string>& collection_flags) = 0;
    virtual Upload cloud_problem_report(const std::string& metadata) = 0;
    virtual Upload crash_problem_report(const std::string& process_id,
                                        const std::string& process_name,
                                        const std::string& file_name,
                                        const std::string& stack_trace_path) = 0;
    virtual Upload device_crash_problem_report(const std::string& device_path,
                                               const std::string& dump_file,
                                               const std::string& driver_name) = 0;
    // Where the bundle of report `id` lies; throws the typed error of a failed
    // call.
    virtual std::string get_prb_file_location(const std::string& id) = 0;
};

}  // namespace vanta::problemreport

namespace vanta {

// A client of the problem reporter at `endpoint` (the catalogue's
// problemreporter row: the registry's address for it first, else its socket).
std::unique_ptr<problemreport::ProblemReporterClient> create_problemreporter_client(
    const Endpoint& endpoint);

}  // namespace vanta
