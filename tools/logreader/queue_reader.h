#pragma once

#include <cstddef>
#include <vector>

#include "runtime/logging/logtask.h"
#include "tools/logreader/record_decoder.h"

namespace vanta::logreader {

// What one read of a log queue found.
struct TakenRecords {
    // The records that were in the record form, in order: each whole message
    // or part of a split one.
    std::vector<DecodedRecord> decoded;
    // Records not in the record form, skipped.
    size_t unreadable = 0;
    // Records the queue dropped since the last read, because it was full.
    unsigned dropped = 0;
    // The messages these records completed, in order.
    std::vector<Message> messages;

    size_t read() const { return decoded.size() + unreadable; }
};

// Takes every record waiting in `queue`. `assembler` keeps the parts of a
// split message whose end has not come yet, for the next read.
TakenRecords take_waiting(logging::logtask::Queue& queue, MessageAssembler& assembler);

}  // namespace vanta::logreader
