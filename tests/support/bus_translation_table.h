#pragma once

// What the API service makes of each bus message: one row per message, with
// the event published to subscribers (if any), the lines logged and the error
// raised. The rows are read from bus_translation_table.textproto beside this
// file. Shared by the plugin tests and the end-to-end tests of the service.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <google/protobuf/any.pb.h>

#include "pubsub.pb.h"
#include "support/data_files.h"

namespace vanta::testing {

using Attributes = std::map<std::string, std::string>;

enum class Raises { nothing, invalid_argument, out_of_range, runtime_error };

// One bus message and what the plugins make of it.
struct Row {
    std::string topic;
    int event = 0;
    std::string data;
    Attributes attributes;
    std::optional<google::protobuf::Any> message_data;
    // Text form of the one VantaEvent published; empty when nothing is.
    std::string published;
    // The console lines of the message, when the row looks at them.
    std::optional<std::vector<std::string>> logs;
    Raises raises = Raises::nothing;
    std::string error_text;

    Row with_data(std::string text) && {
        data = std::move(text);
        return std::move(*this);
    }
    Row with(Attributes values) && {
        attributes = std::move(values);
        return std::move(*this);
    }
};

inline Row on(std::string topic, int event) {
    Row row;
    row.topic = std::move(topic);
    row.event = event;
    return row;
}

// The bus message of `row`.
pubsub::PubSubMsg bus_message(const Row& row);

// Every row of the translation, topic by topic, from the table's data file.
// Throws std::runtime_error, naming the file and line, when the file cannot
// be read, a row is malformed, or rows are missing.
std::vector<Row> translation_table();

}  // namespace vanta::testing
