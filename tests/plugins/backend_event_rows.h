#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "plugin_rows.pb.h"
#include "support/bus_translation_table.h"
#include "support/data_files.h"
#include "vantaapievents.pb.h"

namespace vanta::testing {

using plugin_rows::BackendEvents;

// The row of `backend` in backend_events.textproto.
inline BackendEvents backend_event_row(const std::string& backend) {
    const auto rows = read_text_format<plugin_rows::BackendEventRows>(VANTA_PLUGIN_ROWS_DIR
                                                                      "/backend_events.textproto");
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
