#pragma once

#include <string>

// Where the files of a bundle live: the bundle itself, its metadata beside it,
// and the ".partial" names under which copies are written.
namespace vanta::problemreport {

inline constexpr const char* kMetadataSuffix = ".metadata.json";
inline constexpr const char* kPartialSuffix = ".partial";

// "<bundle>.metadata.json"
std::string metadata_path_from_bundle_path(const std::string& bundle_path);
// The bundle path of a metadata path (the suffix stripped); unchanged when it
// has no such suffix.
std::string bundle_path_from_metadata_path(const std::string& metadata_path);
bool is_valid_metadata_json_file(const std::string& path);
// "<path>.partial"
std::string create_partial_path(const std::string& path);

}  // namespace vanta::problemreport
