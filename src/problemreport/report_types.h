#pragma once

#include <string>

namespace vanta::problemreport {

// How urgently a report is to be handled; the metadata file holds the text.
enum class BundlePriority { high = 0, medium = 1, low = 2 };

// What a bundle collects beyond the default logs.
enum class CollectionFlag {
    include_historic = 0,
    include_collectd = 1,
    include_developer_debug = 2
};

// "high", "medium", "low"; "unknown" for any other value.
std::string bundle_priority_to_str(BundlePriority priority);
// Throws std::invalid_argument "Unknown BundlePriority: <text>".
BundlePriority str_to_bundle_priority(const std::string& text);

// "include_historic", "include_collectd", "include_developer_debug";
// "unknown" for any other value.
std::string collection_flag_to_str(CollectionFlag flag);
// Throws std::invalid_argument "Unknown CollectionFlag: <text>".
CollectionFlag str_to_collection_flag(const std::string& text);

}  // namespace vanta::problemreport
