#include "tools/logreader/queue_reader.h"

namespace vanta::logreader {

TakenRecords take_waiting(logging::logtask::Queue& queue, MessageAssembler& assembler) {
    TakenRecords taken;
    logging::logtask::Record record;
    while (queue.pop(record)) {
        auto decoded = decode_record(record);
        if (!decoded) {
            ++taken.unreadable;
            continue;
        }
        if (auto message = assembler.add(*decoded)) {
            taken.messages.push_back(std::move(*message));
        }
        taken.decoded.push_back(std::move(*decoded));
    }
    taken.dropped = queue.take_drop_count();
    return taken;
}

}  // namespace vanta::logreader
