#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "problemreport/filesystem_manager.h"
#include "problemreport/problem_report_bundle.h"

namespace vanta::problemreport {

// A copy that could not be made ("Could not copy to: <target>", "Bundle
// already exists:<path>", ...).
class BundleCopyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Copies through ".partial" files, trying the bundle copy up to kCopyAttempts
// times while the target's file system has room for it twice over.
class BundleCopyStrategyImpl final : public BundleCopyStrategy {
  public:
    static constexpr int kCopyAttempts = 5;

    explicit BundleCopyStrategyImpl(std::shared_ptr<FileSystemManager> filesystem);

    std::shared_ptr<ProblemReportBundle> copy(const ProblemReportBundle& bundle,
                                              const std::string& directory,
                                              const std::string& filename, bool overwrite,
                                              int retry_delay_seconds) override;
    std::string copy_as_partial_bundle(const ProblemReportBundle& bundle, const std::string& target,
                                       int retry_delay_seconds) override;
    void rename_partial_to_complete(const std::string& partial, const std::string& target) override;
    std::string copy_as_partial_metadata(const ProblemReportBundle& bundle,
                                         const std::string& target) override;

  private:
    const std::shared_ptr<FileSystemManager> filesystem_;
};

std::shared_ptr<BundleCopyStrategy> create_default_copy_strategy();

// `directory` joined with `filename`; a `filename` that begins with "/"
// replaces the directory, which is logged on `report`.
std::string concatenate_path(const ProblemReport& report, const std::string& directory,
                             const std::string& filename);

}  // namespace vanta::problemreport
