#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "runtime/logging/logtask.h"

namespace vanta::logreader {

// One record of the shared-memory log queue, taken apart.
struct DecodedRecord {
    std::int64_t pid = 0;
    std::int64_t timestamp_us = 0;
    int severity = 0;
    std::string tag;
    char marker = 'C';
    std::string text;
};

// Parses "<pid> <time> <severity> <tag> <marker> <text>"; nothing when the
// record is not in that form.
std::optional<DecodedRecord> decode_record(const logging::logtask::Record& record);

// A whole message, joined back from its F/P/E records when it was split.
struct Message {
    std::int64_t pid = 0;
    std::int64_t timestamp_us = 0;
    int severity = 0;
    std::string tag;
    std::string text;
};

// Joins split messages per process: an F record opens a message, P records
// extend it and the E record completes it. A C record is a whole message.
class MessageAssembler {
  public:
    // Returns the completed message, if this record completed one.
    std::optional<Message> add(const DecodedRecord& record);

  private:
    std::map<std::int64_t, Message> partial_;
};

// "<pid> <local time with microseconds> <severity name> <tag>: <text>"
std::string format_message(const Message& message);

}  // namespace vanta::logreader
