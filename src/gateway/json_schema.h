#pragma once

// Builders of the schema fragments that describe the gateway's commands and
// statuses. In this dialect "required" is a boolean inside each property and
// a nullable value has a list of types.
//
// Each builder returns a property: the key and the fragment. A list of
// properties turns into the members of a JSON object:
//   nlohmann::json::object({string_schema("Id", true), string_schema("Name", true)})

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace vanta::json_schema {

using Property = std::pair<std::string, nlohmann::json>;

// {"type": "integer", "required": required} and each bound or default given.
Property integer_schema(const std::string& name, bool required, std::optional<int> minimum,
                        std::optional<int> maximum, std::optional<int> default_value);
// {"type": "string", "required": required}
Property string_schema(const std::string& name, bool required);
// Under the key "schema": {"type": "string", "enum": values} and the default
// if given. Callers put it beside a "required" member.
Property enum_schema(const std::vector<std::string>& values,
                     const std::optional<std::string>& default_value);
// {"type": "array", "items": items}
Property array_schema(const std::string& name, const nlohmann::json& items);
// {"type": "object", "properties": properties}; an object that is not
// required may be null: its type is ["object", "null"].
Property object_schema(const std::string& name, const nlohmann::json& properties, bool required);

}  // namespace vanta::json_schema
