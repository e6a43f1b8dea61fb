#pragma once

#include <string>

#include "vantaapievents.pb.h"

namespace vanta::cli {

// An event on one line for people: its case name, then each field that is
// set as name=value; enums by name (also at their first value unless it is
// an "unknown" one), nested messages in {}, repeated fields in [], strings in
// quotes only when they hold spaces or punctuation:
//   ui_volume_state state=VOLUME_CHANGED volume=35
//   participants self={name="Ada Lovelace" status=CONNECTED} others=[{name=Bob}]
std::string human_line(const vantaapi::VantaEvent& event);

// An event as one JSON object (the schemas' JSON mapping, every field shown).
std::string json_line(const vantaapi::VantaEvent& event);

}  // namespace vanta::cli
