#include "problemreport/problem_report_bundle_impl.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "problemreport/bundle_paths.h"

namespace fs = std::filesystem;

namespace vanta::problemreport {

ProblemReportBundleImpl::ProblemReportBundleImpl(std::shared_ptr<ProblemReport> report,
                                                 std::string bundle_path,
                                                 std::shared_ptr<BundleCopyStrategy> copy_strategy)
    : report_(std::move(report)),
      bundle_path_(std::move(bundle_path)),
      copy_strategy_(std::move(copy_strategy)) {}

nlohmann::json ProblemReportBundleImpl::get_data(bool hide_personal_data) const {
    nlohmann::json data = report_->get_data(hide_personal_data);
    data["bundle"] = {{"size", get_bundle_size()}, {"current_location", bundle_path_}};
    return data;
}

std::string ProblemReportBundleImpl::get_bundle_name() const {
    return fs::path(bundle_path_).filename().string();
}

std::uintmax_t ProblemReportBundleImpl::get_bundle_size() const {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(bundle_path_, error);
    return error ? 0 : size;
}

void ProblemReportBundleImpl::write_metadata_to_disk(bool overwrite) const {
    const std::string path = metadata_path_from_bundle_path(bundle_path_);
    report_->log("Attempting to write metadata to: " + path);
    if (fs::exists(path) && !overwrite) {
        throw std::runtime_error("Path already exists:" + path);
    }
    std::ofstream file(path, std::ios::trunc);
    file << get_data(false).dump(4);
    if (!file.flush()) {
        throw std::runtime_error("Could not write metadata to: " + path);
    }
}

void ProblemReportBundleImpl::remove_from_disk() const {
    const std::string metadata = metadata_path_from_bundle_path(bundle_path_);
    report_->log("Deleting bundle at: " + bundle_path_);
    fs::remove(bundle_path_);
    report_->log("Deleting metadata at: " + metadata);
    fs::remove(metadata);
}

std::shared_ptr<ProblemReportBundle> ProblemReportBundleImpl::copy_to_location(
    const std::string& directory, const std::string& filename, bool overwrite,
    int retry_delay_seconds) const {
    return copy_strategy_->copy(*this, directory, filename, overwrite, retry_delay_seconds);
}

std::shared_ptr<ProblemReportBundle> ProblemReportBundleImpl::copy_to_location(
    const std::string& path, bool overwrite, int retry_delay_seconds) const {
    const fs::path target(path);
    return copy_to_location(target.parent_path().string(), target.filename().string(), overwrite,
                            retry_delay_seconds);
}

}  // namespace vanta::problemreport
