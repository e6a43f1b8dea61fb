#include "problemreport/report_types.h"

#include <stdexcept>

namespace vanta::problemreport {

std::string bundle_priority_to_str(BundlePriority priority) {
    switch (priority) {
        case BundlePriority::high:
            return "high";
        case BundlePriority::medium:
            return "medium";
        case BundlePriority::low:
            return "low";
    }
    return "unknown";
}

BundlePriority str_to_bundle_priority(const std::string& text) {
    for (const auto priority :
         {BundlePriority::high, BundlePriority::medium, BundlePriority::low}) {
        if (bundle_priority_to_str(priority) == text) {
            return priority;
        }
    }
    throw std::invalid_argument("Unknown BundlePriority: " + text);
}

std::string collection_flag_to_str(CollectionFlag flag) {
    switch (flag) {
        case CollectionFlag::include_historic:
            return "include_historic";
        case CollectionFlag::include_collectd:
            return "include_collectd";
        case CollectionFlag::include_developer_debug:
            return "include_developer_debug";
    }
    return "unknown";
}

CollectionFlag str_to_collection_flag(const std::string& text) {
    for (const auto flag : {CollectionFlag::include_historic, CollectionFlag::include_collectd,
                            CollectionFlag::include_developer_debug}) {
        if (collection_flag_to_str(flag) == text) {
            return flag;
        }
    }
    throw std::invalid_argument("Unknown CollectionFlag: " + text);
}

}  // namespace vanta::problemreport
