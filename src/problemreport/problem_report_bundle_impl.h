#pragma once

#include <memory>
#include <string>

#include "problemreport/problem_report_bundle.h"

namespace vanta::problemreport {

class ProblemReportBundleImpl final : public ProblemReportBundle {
  public:
    ProblemReportBundleImpl(std::shared_ptr<ProblemReport> report, std::string bundle_path,
                            std::shared_ptr<BundleCopyStrategy> copy_strategy);

    nlohmann::json get_data(bool hide_personal_data) const override;
    std::string get_bundle_path() const override { return bundle_path_; }
    std::string get_bundle_name() const override;
    std::uintmax_t get_bundle_size() const override;
    void write_metadata_to_disk(bool overwrite) const override;
    void remove_from_disk() const override;
    std::shared_ptr<ProblemReportBundle> copy_to_location(const std::string& directory,
                                                          const std::string& filename,
                                                          bool overwrite,
                                                          int retry_delay_seconds) const override;
    std::shared_ptr<ProblemReportBundle> copy_to_location(const std::string& path, bool overwrite,
                                                          int retry_delay_seconds) const override;
    const std::shared_ptr<ProblemReport>& get_problem_report() const override { return report_; }

  private:
    const std::shared_ptr<ProblemReport> report_;
    const std::string bundle_path_;
    const std::shared_ptr<BundleCopyStrategy> copy_strategy_;
};

}  // namespace vanta::problemreport
