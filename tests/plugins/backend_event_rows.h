#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <google/protobuf/text_format.h>

#include "plugin_rows.pb.h"

namespace vanta::testing {

using plugin_rows::BackendEvents;

// The row of `backend` in backend_events.textproto (in VANTA_PLUGIN_ROWS_DIR).
inline BackendEvents backend_event_row(const std::string& backend) {
    const std::string path = std::string(VANTA_PLUGIN_ROWS_DIR) + "/backend_events.textproto";
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    plugin_rows::BackendEventRows rows;
    if (!file || !google::protobuf::TextFormat::ParseFromString(text.str(), &rows)) {
        throw std::runtime_error("cannot read the rows of " + path);
    }
    for (const BackendEvents& row : rows.stream()) {
        if (row.backend() == backend) {
            return row;
        }
    }
    throw std::runtime_error(path + " has no row for " + backend);
}

}  // namespace vanta::testing
