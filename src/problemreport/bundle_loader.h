#pragma once

#include <memory>
#include <string>

#include "problemreport/problem_report_bundle.h"

namespace vanta::problemreport {

// The id and priority of a bundle whose metadata does not name them.
inline constexpr const char* kUnknownReportId = "unknown";
inline constexpr BundlePriority kUnknownReportPriority = BundlePriority::low;

// The bundle at `bundle_path` with the report its metadata file describes.
// Never throws for what the file holds: whatever cannot be read is left at its
// default, and each problem is logged as an error on the report
// ("Incomplete bundle created as ...").
std::shared_ptr<ProblemReportBundle> load_bundle(const std::string& bundle_path);

}  // namespace vanta::problemreport
