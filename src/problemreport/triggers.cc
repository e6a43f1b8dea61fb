#include "problemreport/triggers.h"

#include <stdexcept>

namespace vanta::problemreport {

namespace {

// The request's members with `fixed` written over them.
nlohmann::json merged(const nlohmann::json& request, const nlohmann::json& fixed) {
    nlohmann::json json = request.is_object() ? request : nlohmann::json::object();
    json.update(fixed);
    return json;
}

}  // namespace

CrashTrigger CrashTrigger::from_json(const nlohmann::json& json) {
    CrashTrigger trigger;
    trigger.pid = std::stoi(json.at("pid").get<std::string>());
    trigger.app = json.at("app").get<std::string>();
    return trigger;
}

nlohmann::json CrashTrigger::to_json() const {
    return {
        {"trigger_type", "crash"}, {"reason", "crash"}, {"app", app}, {"pid", std::to_string(pid)}};
}

DevCrashTrigger DevCrashTrigger::from_json(const nlohmann::json& json) {
    return {json.at("device_path").get<std::string>(), json.at("driver_name").get<std::string>()};
}

nlohmann::json DevCrashTrigger::to_json() const {
    return {{"trigger_type", "devcrash"},
            {"reason", "device_crash"},
            {"device_path", device_path},
            {"driver_name", driver_name}};
}

UserRequest UserRequest::from_json(const nlohmann::json& json) {
    return {json.at("description").get<std::string>()};
}

nlohmann::json UserRequest::to_json() const {
    return {{"trigger_type", "user"},
            {"reason", "user-request"},
            {"eventType", "room.request_logs"},
            {"originator", "vantaapi/browser"},
            {"description", description}};
}

DeveloperRequest DeveloperRequest::from_json(const nlohmann::json& json) {
    if (!json.is_object()) {
        throw std::invalid_argument("developer request is not an object");
    }
    return {json};
}

nlohmann::json DeveloperRequest::to_json() const {
    return merged(request, {{"trigger_type", "developer"},
                            {"reason", "developer-request"},
                            {"eventType", "room.request_logs"},
                            {"originator", "developer"}});
}

CloudRequest CloudRequest::from_json(const nlohmann::json& json) {
    if (!json.is_object()) {
        throw std::invalid_argument("cloud request is not an object");
    }
    return {json};
}

nlohmann::json CloudRequest::to_json() const {
    return merged(request, {{"trigger_type", "cloud"}});
}

nlohmann::json trigger_to_json(const Trigger& trigger) {
    return std::visit([](const auto& t) { return t.to_json(); }, trigger);
}

Trigger trigger_from_json(const nlohmann::json& json) {
    const std::string type = json.at("trigger_type").get<std::string>();
    if (type == "crash") {
        return CrashTrigger::from_json(json);
    }
    if (type == "cloud") {
        return CloudRequest::from_json(json);
    }
    if (type == "user") {
        return UserRequest::from_json(json);
    }
    if (type == "devcrash") {
        return DevCrashTrigger::from_json(json);
    }
    if (type == "developer") {
        return DeveloperRequest::from_json(json);
    }
    throw std::invalid_argument("Unknown trigger_type: " + type);
}

}  // namespace vanta::problemreport
