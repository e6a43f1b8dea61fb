#include "event_cases.h"

namespace vanta::cli {

namespace {

using google::protobuf::FieldDescriptor;

const google::protobuf::OneofDescriptor& event_union() {
    return *vantaapi::VantaEvent::descriptor()->FindOneofByName("data");
}

std::string case_name(const FieldDescriptor& field) {
    constexpr std::string_view kPrefix = "new_";
    const std::string& name = field.name();
    return name.compare(0, kPrefix.size(), kPrefix) == 0 ? name.substr(kPrefix.size()) : name;
}

}  // namespace

std::vector<std::string> event_case_names() {
    std::vector<std::string> names;
    for (int i = 0; i < event_union().field_count(); ++i) {
        names.push_back(case_name(*event_union().field(i)));
    }
    return names;
}

std::string event_case_name(const vantaapi::VantaEvent& event) {
    const FieldDescriptor* field =
        event.GetReflection()->GetOneofFieldDescriptor(event, &event_union());
    return field == nullptr ? std::string() : case_name(*field);
}

const FieldDescriptor* find_event_case(const std::string& name) {
    for (int i = 0; i < event_union().field_count(); ++i) {
        const FieldDescriptor* field = event_union().field(i);
        if (name == case_name(*field) || name == field->name()) {
            return field;
        }
    }
    return nullptr;
}

}  // namespace vanta::cli
