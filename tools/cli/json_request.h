#pragma once

#include <string>

#include <google/protobuf/message.h>

namespace vanta::cli {

// Throws UsageError saying where `json` stops being JSON ("bad JSON at line 1,
// column 3: ...").
void check_json_syntax(const std::string& json);

// Fills `request` from `json` in the schemas' JSON mapping (an empty text is
// an empty request). Throws UsageError saying where the text is not JSON, or
// which field does not fit the request's type.
void parse_json_request(const std::string& json, google::protobuf::Message& request);

}  // namespace vanta::cli
