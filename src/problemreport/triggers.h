#pragma once

#include <string>
#include <variant>

#include <nlohmann/json.hpp>

// Why a problem report was made: its "reasons" in the metadata file, each an
// object with a "trigger_type".
namespace vanta::problemreport {

// A process of the device crashed.
struct CrashTrigger {
    int pid = 0;
    std::string app;

    // Reads "pid" (a decimal text) and "app"; throws when either is missing.
    static CrashTrigger from_json(const nlohmann::json& json);
    nlohmann::json to_json() const;
};

// A device driver crashed.
struct DevCrashTrigger {
    std::string device_path;
    std::string driver_name;

    static DevCrashTrigger from_json(const nlohmann::json& json);
    nlohmann::json to_json() const;
};

// A user asked for the report.
struct UserRequest {
    std::string description;

    static UserRequest from_json(const nlohmann::json& json);
    nlohmann::json to_json() const;
};

// A developer asked for the report; the request's own members are kept.
struct DeveloperRequest {
    nlohmann::json request = nlohmann::json::object();

    static DeveloperRequest from_json(const nlohmann::json& json);
    nlohmann::json to_json() const;
};

// The cloud asked for the report; the request's own members are kept.
struct CloudRequest {
    nlohmann::json request = nlohmann::json::object();

    static CloudRequest from_json(const nlohmann::json& json);
    nlohmann::json to_json() const;
};

using Trigger =
    std::variant<CrashTrigger, DevCrashTrigger, UserRequest, DeveloperRequest, CloudRequest>;

nlohmann::json trigger_to_json(const Trigger& trigger);
// Dispatches on "trigger_type"; throws std::invalid_argument for a type it
// does not know and the json library's errors for missing members.
Trigger trigger_from_json(const nlohmann::json& json);

}  // namespace vanta::problemreport
