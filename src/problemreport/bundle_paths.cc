#include "problemreport/bundle_paths.h"

#include <cstring>

namespace vanta::problemreport {

namespace {
bool ends_with(const std::string& text, const char* suffix) {
    const size_t length = std::strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}
}  // namespace

std::string metadata_path_from_bundle_path(const std::string& bundle_path) {
    return bundle_path + kMetadataSuffix;
}

std::string bundle_path_from_metadata_path(const std::string& metadata_path) {
    if (!is_valid_metadata_json_file(metadata_path)) {
        return metadata_path;
    }
    return metadata_path.substr(0, metadata_path.size() - std::strlen(kMetadataSuffix));
}

bool is_valid_metadata_json_file(const std::string& path) {
    return ends_with(path, kMetadataSuffix);
}

std::string create_partial_path(const std::string& path) {
    return path + kPartialSuffix;
}

}  // namespace vanta::problemreport
