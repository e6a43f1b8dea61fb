#include "problemreport/bundle_loader.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "problemreport/bundle_copy_strategy.h"
#include "problemreport/bundle_paths.h"
#include "problemreport/problem_report_bundle_impl.h"

namespace vanta::problemreport {

namespace {

using nlohmann::json;

// What a metadata file gave, and what was wrong with it.
struct LoadedMetadata {
    ProblemReportSpec spec{kUnknownReportId, kUnknownReportPriority, {}, {}};
    std::vector<ProblemReportEvent> events;
    std::vector<std::string> problems;
};

// Reads the string member `key`; records a problem when it is missing or not
// a string.
const std::string* read_string(const json& metadata, const std::string& key,
                               std::vector<std::string>& problems) {
    const auto member = metadata.find(key);
    if (member == metadata.end()) {
        problems.push_back("Incomplete bundle created as \"" + key + "\" not found in metadata.");
        return nullptr;
    }
    if (!member->is_string()) {
        problems.push_back("Incomplete bundle created as \"" + key + "\" is malformed.");
        return nullptr;
    }
    return member->get_ptr<const std::string*>();
}

// An event's time as milliseconds since the epoch; throws std::out_of_range
// for a number beyond what EventTime holds (about 292 years either side).
std::chrono::milliseconds event_milliseconds(const json& time) {
    constexpr auto kLimit =
        std::chrono::duration_cast<std::chrono::milliseconds>(EventTime::duration::max()).count();
    if (time.is_number() && std::abs(time.get<double>()) > static_cast<double>(kLimit)) {
        throw std::out_of_range("time_since_epoch_ms " + time.dump() + " is out of range");
    }
    return std::chrono::milliseconds(time.get<long long>());
}

void read_metadata(const json& metadata, LoadedMetadata& loaded) {
    auto& problems = loaded.problems;
    if (const std::string* id = read_string(metadata, "problem_report_id", problems)) {
        loaded.spec.id = *id;
    }
    if (const std::string* priority = read_string(metadata, "priority", problems)) {
        try {
            loaded.spec.priority = str_to_bundle_priority(*priority);
        } catch (const std::exception&) {
            problems.push_back("Incomplete bundle created as \"priority\" is malformed.");
        }
    }

    const auto reasons = metadata.find("reasons");
    if (reasons == metadata.end()) {
        problems.push_back("Incomplete bundle created as \"reasons\" not found in metadata.");
    } else {
        try {
            for (const json& reason : reasons->get<std::vector<json>>()) {
                loaded.spec.triggers.push_back(trigger_from_json(reason));
            }
        } catch (const std::exception& e) {
            problems.push_back(
                std::string("Incomplete bundle created as a reason could not be parsed: ") +
                e.what());
        }
    }

    const auto flags = metadata.find("collection_flags");
    if (flags == metadata.end()) {
        problems.push_back(
            "Incomplete bundle created as \"collection_flags\" not found in metadata.");
    } else {
        try {
            for (const json& flag : flags->get<std::vector<json>>()) {
                loaded.spec.collection_flags.insert(
                    str_to_collection_flag(flag.get<std::string>()));
            }
        } catch (const std::exception& e) {
            problems.push_back(
                std::string("Incomplete bundle create as collection_flag could not be parsed: ") +
                e.what());
        }
    }

    const auto events = metadata.find("recorded_events");
    if (events != metadata.end()) {
        try {
            for (const json& event : events->get<std::vector<json>>()) {
                const auto ms = event_milliseconds(event.at("time_since_epoch_ms"));
                loaded.events.emplace_back(
                    event.at("event_name").get<std::string>(),
                    event.at("message").get<std::string>(),
                    EventTime(std::chrono::duration_cast<std::chrono::nanoseconds>(ms)));
            }
        } catch (const std::exception& e) {
            problems.push_back(
                std::string("Incomplete bundle created as recorded_events could not be parsed: ") +
                e.what());
        }
    }
}

}  // namespace

std::shared_ptr<ProblemReportBundle> load_bundle(const std::string& bundle_path) {
    LoadedMetadata loaded;
    const std::string metadata_path = metadata_path_from_bundle_path(bundle_path);
    if (!std::filesystem::exists(metadata_path)) {
        loaded.problems.push_back("Incomplete bundle created as metadata file '" + metadata_path +
                                  "' could not be found.");
    } else {
        std::ifstream file(metadata_path);
        const json metadata = json::parse(file, nullptr, /*allow_exceptions=*/false);
        if (metadata.is_discarded() || !metadata.is_object()) {
            loaded.problems.push_back("Incomplete bundle created as metadata file is malformed.");
        } else {
            read_metadata(metadata, loaded);
        }
    }

    auto report = std::make_shared<ProblemReport>(std::move(loaded.spec), std::move(loaded.events));
    auto bundle = std::make_shared<ProblemReportBundleImpl>(report, bundle_path,
                                                            create_default_copy_strategy());
    for (const std::string& problem : loaded.problems) {
        report->log_error(problem);
    }
    return bundle;
}

}  // namespace vanta::problemreport
