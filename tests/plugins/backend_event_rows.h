#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>

#include "plugin_rows.pb.h"
#include "support/bus_translation_table.h"
#include "vantaapievents.pb.h"

namespace vanta::testing {

using plugin_rows::BackendEvents;

// The text of the data file `name` beside the plugin tests (in
// VANTA_PLUGIN_ROWS_DIR); throws when it cannot be read.
inline std::string plugin_data(const std::string& name) {
    const std::string path = std::string(VANTA_PLUGIN_ROWS_DIR) + "/" + name;
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return text.str();
}

// The row of `backend` in backend_events.textproto.
inline BackendEvents backend_event_row(const std::string& backend) {
    plugin_rows::BackendEventRows rows;
    if (!google::protobuf::TextFormat::ParseFromString(plugin_data("backend_events.textproto"),
                                                       &rows)) {
        throw std::runtime_error("backend_events.textproto does not parse");
    }
    for (const BackendEvents& row : rows.stream()) {
        if (row.backend() == backend) {
            return row;
        }
    }
    throw std::runtime_error("backend_events.textproto has no row for " + backend);
}

// Checks that `events` are the events the row publishes, in order.
inline void expect_published(const BackendEvents& row,
                             const std::vector<vantaapi::VantaEvent>& events) {
    std::vector<std::string> expected;
    for (const std::string& text : row.published()) {
        expected.push_back(from_text<vantaapi::VantaEvent>(text).ShortDebugString());
    }
    std::vector<std::string> received;
    for (const vantaapi::VantaEvent& event : events) {
        received.push_back(event.ShortDebugString());
    }
    EXPECT_THAT(received, ::testing::ElementsAreArray(expected));
}

}  // namespace vanta::testing
