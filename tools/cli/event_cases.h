#pragma once

#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>

#include "vantaapievents.pb.h"

namespace vanta::cli {

// The cases of the VantaEvent union by the names people type and read: the
// field's name without its "new_" prefix ("ui_volume_state" for
// `new_ui_volume_state`, "system_event" for `system_event`).

// Every case name, in field order.
std::vector<std::string> event_case_names();

// The case of `event`'s union by name; empty for an event without one.
std::string event_case_name(const vantaapi::VantaEvent& event);

// The union's field for a case name, also accepted with the "new_" prefix;
// nullptr when there is none.
const google::protobuf::FieldDescriptor* find_event_case(const std::string& name);

}  // namespace vanta::cli
