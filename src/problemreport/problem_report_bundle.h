#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "problemreport/problem_report.h"

namespace vanta::problemreport {

// A problem report and the archive file that holds what was collected for it,
// with the report's metadata in a JSON file beside it.
class ProblemReportBundle {
  public:
    virtual ~ProblemReportBundle() = default;
    // The report's metadata plus "bundle": {"size", "current_location"}.
    virtual nlohmann::json get_data(bool hide_personal_data) const = 0;
    virtual std::string get_bundle_path() const = 0;
    // The file name of the bundle, without its directory.
    virtual std::string get_bundle_name() const = 0;
    // Bytes; 0 when the file is missing.
    virtual std::uintmax_t get_bundle_size() const = 0;
    // Throws std::runtime_error "Path already exists:<path>" when the metadata
    // file exists and `overwrite` is false.
    virtual void write_metadata_to_disk(bool overwrite) const = 0;
    virtual void remove_from_disk() const = 0;
    // A copy of the bundle and its metadata under `directory`/`filename`.
    virtual std::shared_ptr<ProblemReportBundle> copy_to_location(
        const std::string& directory, const std::string& filename, bool overwrite,
        int retry_delay_seconds) const = 0;
    virtual std::shared_ptr<ProblemReportBundle> copy_to_location(
        const std::string& path, bool overwrite, int retry_delay_seconds) const = 0;

    virtual const std::shared_ptr<ProblemReport>& get_problem_report() const = 0;
};

// How a bundle is copied to another place. A copy is first written under
// ".partial" names and renamed when complete, so the final names only ever
// hold whole files.
class BundleCopyStrategy {
  public:
    virtual std::shared_ptr<ProblemReportBundle> copy(const ProblemReportBundle& bundle,
                                                      const std::string& directory,
                                                      const std::string& filename, bool overwrite,
                                                      int retry_delay_seconds) = 0;
    virtual ~BundleCopyStrategy() = default;
    // The partial path the bundle was copied to.
    virtual std::string copy_as_partial_bundle(const ProblemReportBundle& bundle,
                                               const std::string& target,
                                               int retry_delay_seconds) = 0;
    virtual void rename_partial_to_complete(const std::string& partial,
                                            const std::string& target) = 0;
    // The partial path the metadata was copied to.
    virtual std::string copy_as_partial_metadata(const ProblemReportBundle& bundle,
                                                 const std::string& target) = 0;
};

}  // namespace vanta::problemreport
