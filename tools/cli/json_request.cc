#include "json_request.h"

#include <google/protobuf/descriptor.h>
#include <google/protobuf/util/json_util.h>
#include <nlohmann/json.hpp>

#include "cli_errors.h"

namespace vanta::cli {

void check_json_syntax(const std::string& json) {
    try {
        const auto parsed = nlohmann::json::parse(json);
        static_cast<void>(parsed);
    } catch (const nlohmann::json::parse_error& error) {
        // what() reads "[json.exception.parse_error.101] parse error at line 1,
        // column 3: <reason>"; the part from "at" on is the useful one.
        const std::string what = error.what();
        const auto at = what.find(" at line ");
        throw UsageError("bad JSON" + (at == std::string::npos ? ": " + what : what.substr(at)));
    }
}

void parse_json_request(const std::string& json, google::protobuf::Message& request) {
    const std::string text = json.empty() ? "{}" : json;
    check_json_syntax(text);
    const auto parsed = google::protobuf::util::JsonStringToMessage(text, &request);
    if (!parsed.ok()) {
        throw UsageError("the request is not a " + request.GetDescriptor()->full_name() + ": " +
                         std::string(parsed.message()));
    }
}

}  // namespace vanta::cli
