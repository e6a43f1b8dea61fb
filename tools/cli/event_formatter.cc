#include "event_formatter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/util/json_util.h>

#include "event_cases.h"

namespace vanta::cli {

namespace {

using google::protobuf::FieldDescriptor;
using google::protobuf::Message;
using google::protobuf::Reflection;

bool needs_quotes(const std::string& text) {
    if (text.empty()) {
        return true;
    }
    for (const unsigned char c : text) {
        if (c <= ' ' || c == '"' || c == '\\' || c == '=' || c == '{' || c == '}' || c == '[' ||
            c == ']' || c == 0x7f) {
            return true;
        }
    }
    return false;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < ' ' || c == 0x7f) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

template <typename Number>
std::string shortest(Number value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void append_fields(const Message& message, std::string& out);

// One value of `field` (element `index` when it is repeated, else -1).
void append_value(const Message& message, const FieldDescriptor& field, int index,
                  std::string& out) {
    const Reflection& r = *message.GetReflection();
    const bool repeated = index >= 0;
    switch (field.cpp_type()) {
        case FieldDescriptor::CPPTYPE_INT32:
            out += std::to_string(repeated ? r.GetRepeatedInt32(message, &field, index)
                                           : r.GetInt32(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_INT64:
            out += std::to_string(repeated ? r.GetRepeatedInt64(message, &field, index)
                                           : r.GetInt64(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_UINT32:
            out += std::to_string(repeated ? r.GetRepeatedUInt32(message, &field, index)
                                           : r.GetUInt32(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_UINT64:
            out += std::to_string(repeated ? r.GetRepeatedUInt64(message, &field, index)
                                           : r.GetUInt64(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_DOUBLE:
            out += shortest(repeated ? r.GetRepeatedDouble(message, &field, index)
                                     : r.GetDouble(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_FLOAT:
            out += shortest(repeated ? r.GetRepeatedFloat(message, &field, index)
                                     : r.GetFloat(message, &field));
            break;
        case FieldDescriptor::CPPTYPE_BOOL:
            out +=
                (repeated ? r.GetRepeatedBool(message, &field, index) : r.GetBool(message, &field))
                    ? "true"
                    : "false";
            break;
        case FieldDescriptor::CPPTYPE_ENUM: {
            const int number = repeated ? r.GetRepeatedEnumValue(message, &field, index)
                                        : r.GetEnumValue(message, &field);
            const auto* value = field.enum_type()->FindValueByNumber(number);
            out += value != nullptr ? value->name() : std::to_string(number);
            break;
        }
        case FieldDescriptor::CPPTYPE_STRING: {
            const std::string text = repeated ? r.GetRepeatedString(message, &field, index)
                                              : r.GetString(message, &field);
            if (field.type() == FieldDescriptor::TYPE_BYTES) {
                out += "<" + std::to_string(text.size()) + " bytes>";
            } else {
                out += needs_quotes(text) ? quoted(text) : text;
            }
            break;
        }
        case FieldDescriptor::CPPTYPE_MESSAGE:
            out += "{";
            append_fields(repeated ? r.GetRepeatedMessage(message, &field, index)
                                   : r.GetMessage(message, &field),
                          out);
            out += "}";
            break;
    }
}

bool shown(const Message& message, const FieldDescriptor& field) {
    const Reflection& r = *message.GetReflection();
    if (field.is_repeated()) {
        return r.FieldSize(message, &field) > 0;
    }
    if (r.HasField(message, &field)) {
        return true;
    }
    // An enum's first value often means something (CONNECTED, ERROR); it is
    // left out only when its name says it is unknown.
    if (field.cpp_type() != FieldDescriptor::CPPTYPE_ENUM || field.has_presence()) {
        return false;
    }
    const auto* zero = field.enum_type()->FindValueByNumber(0);
    std::string first = zero != nullptr ? zero->name() : std::string();
    std::transform(first.begin(), first.end(), first.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return first.find("UNKNOWN") == std::string::npos;
}

void append_fields(const Message& message, std::string& out) {
    const auto* type = message.GetDescriptor();
    bool first = true;
    for (int i = 0; i < type->field_count(); ++i) {
        const FieldDescriptor& field = *type->field(i);
        if (!shown(message, field)) {
            continue;
        }
        out += first ? "" : " ";
        first = false;
        out += field.name() + "=";
        if (!field.is_repeated()) {
            append_value(message, field, -1, out);
            continue;
        }
        out += "[";
        const int size = message.GetReflection()->FieldSize(message, &field);
        for (int index = 0; index < size; ++index) {
            out += index == 0 ? "" : " ";
            append_value(message, field, index, out);
        }
        out += "]";
    }
}

}  // namespace

std::string human_line(const vantaapi::VantaEvent& event) {
    const std::string name = event_case_name(event);
    if (name.empty()) {
        return "(an event without data)";
    }
    const auto* field = event.GetReflection()->GetOneofFieldDescriptor(
        event, vantaapi::VantaEvent::descriptor()->FindOneofByName("data"));
    std::string fields;
    append_fields(event.GetReflection()->GetMessage(event, field), fields);
    return fields.empty() ? name : name + " " + fields;
}

std::string json_line(const vantaapi::VantaEvent& event) {
    google::protobuf::util::JsonPrintOptions options;
    options.always_print_primitive_fields = true;
    std::string json;
    google::protobuf::util::MessageToJsonString(event, &json, options);
    return json;
}

}  // namespace vanta::cli
