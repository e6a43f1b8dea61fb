#include "problemreport/bundle_copy_strategy.h"

#include <filesystem>
#include <thread>

#include "problemreport/bundle_paths.h"
#include "problemreport/problem_report_bundle_impl.h"

namespace fs = std::filesystem;

namespace vanta::problemreport {

namespace {

// Makes room for a copy at `path`: refused without `overwrite`, else the old
// file goes.
void clear_target(const ProblemReport& report, const std::string& path, bool overwrite,
                  const std::string& what) {
    if (!fs::exists(path)) {
        return;
    }
    if (!overwrite) {
        throw BundleCopyError(what + " already exists:" + path);
    }
    report.log_warning(what + " already exists, overriding: " + path);
    fs::remove(path);
}

}  // namespace

std::string concatenate_path(const ProblemReport& report, const std::string& directory,
                             const std::string& filename) {
    const fs::path second(filename);
    if (second.has_root_directory()) {
        report.log_warning(
            "Attempted to append filesystem path with root character as first path element, "
            "resulting in an implicit replace.");
    }
    return (fs::path(directory) / second).string();
}

BundleCopyStrategyImpl::BundleCopyStrategyImpl(std::shared_ptr<FileSystemManager> filesystem)
    : filesystem_(std::move(filesystem)) {}

std::shared_ptr<ProblemReportBundle> BundleCopyStrategyImpl::copy(const ProblemReportBundle& bundle,
                                                                  const std::string& directory,
                                                                  const std::string& filename,
                                                                  bool overwrite,
                                                                  int retry_delay_seconds) {
    const ProblemReport& report = *bundle.get_problem_report();
    report.log("Creating copy of bundle in " + directory + " with filename " + filename);
    const std::string target = concatenate_path(report, directory, filename);
    const std::string metadata_target = metadata_path_from_bundle_path(target);
    clear_target(report, target, overwrite, "Bundle");
    clear_target(report, metadata_target, overwrite, "Metadata file");

    rename_partial_to_complete(copy_as_partial_bundle(bundle, target, retry_delay_seconds), target);
    rename_partial_to_complete(copy_as_partial_metadata(bundle, metadata_target), metadata_target);
    return std::make_shared<ProblemReportBundleImpl>(bundle.get_problem_report(), target,
                                                     create_default_copy_strategy());
}

std::string BundleCopyStrategyImpl::copy_as_partial_bundle(const ProblemReportBundle& bundle,
                                                           const std::string& target,
                                                           int retry_delay_seconds) {
    const ProblemReport& report = *bundle.get_problem_report();
    const std::string partial = create_partial_path(target);
    // A partial file is ours alone: one left by an interrupted copy is stale.
    std::error_code ignored;
    fs::remove(partial, ignored);
    const std::string parent = fs::path(target).parent_path().string();
    for (int attempt = 1; attempt <= kCopyAttempts; ++attempt) {
        try {
            const auto free = filesystem_->get_space_info(parent.empty() ? "." : parent).available;
            if (2 * bundle.get_bundle_size() >= free) {
                report.log_warning("Not enough space to copy bundle.");
            } else {
                fs::copy_file(bundle.get_bundle_path(), partial, fs::copy_options::none);
                return partial;
            }
        } catch (const fs::filesystem_error& e) {
            if (attempt < kCopyAttempts) {
                report.log_warning(
                    "Attempt " + std::to_string(attempt) + " of " + std::to_string(kCopyAttempts) +
                    " failed. Copying to location failed: " + e.what() + ". Trying again.");
            }
        } catch (const std::exception& e) {
            report.log_error(std::string("Copy failed unexpectedly: ") + e.what());
        }
        if (attempt < kCopyAttempts && retry_delay_seconds > 0) {
            // sleep_for resumes after signals until the whole delay has passed.
            std::this_thread::sleep_for(std::chrono::seconds(retry_delay_seconds));
        }
    }
    report.log_error("Final copy attempt failed.");
    throw BundleCopyError("Could not copy to: " + target);
}

void BundleCopyStrategyImpl::rename_partial_to_complete(const std::string& partial,
                                                        const std::string& target) {
    fs::rename(partial, target);
}

std::string BundleCopyStrategyImpl::copy_as_partial_metadata(const ProblemReportBundle& bundle,
                                                             const std::string& target) {
    const std::string metadata = metadata_path_from_bundle_path(bundle.get_bundle_path());
    if (!fs::exists(metadata)) {
        bundle.get_problem_report()->log_error("Metadata file does not exist: " + metadata);
        throw BundleCopyError("Cannot copy metadata as it does not exist on disk.");
    }
    const std::string partial = create_partial_path(target);
    fs::copy_file(metadata, partial, fs::copy_options::overwrite_existing);
    return partial;
}

std::shared_ptr<BundleCopyStrategy> create_default_copy_strategy() {
    return std::make_shared<BundleCopyStrategyImpl>(create_filesystem_manager());
}

}  // namespace vanta::problemreport
