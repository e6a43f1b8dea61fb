#include "gateway/json_schema.h"

namespace vanta::json_schema {

using nlohmann::json;

Property integer_schema(const std::string& name, bool required, std::optional<int> minimum,
                        std::optional<int> maximum, std::optional<int> default_value) {
    json fragment = {{"type", "integer"}, {"required", required}};
    if (minimum) {
        fragment["minimum"] = *minimum;
    }
    if (maximum) {
        fragment["maximum"] = *maximum;
    }
    if (default_value) {
        fragment["default"] = *default_value;
    }
    return {name, fragment};
}

Property string_schema(const std::string& name, bool required) {
    return {name, {{"type", "string"}, {"required", required}}};
}

Property enum_schema(const std::vector<std::string>& values,
                     const std::optional<std::string>& default_value) {
    json fragment = {{"type", "string"}, {"enum", values}};
    if (default_value) {
        fragment["default"] = *default_value;
    }
    return {"schema", fragment};
}

Property array_schema(const std::string& name, const json& items) {
    return {name, {{"type", "array"}, {"items", items}}};
}

Property object_schema(const std::string& name, const json& properties, bool required) {
    json fragment = {{"type", "object"}, {"properties", properties}};
    if (!required) {
        fragment["type"] = {"object", "null"};
    }
    return {name, fragment};
}

}  // namespace vanta::json_schema
