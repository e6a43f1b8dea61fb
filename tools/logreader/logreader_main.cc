// vanta-logreader: prints the messages that processes write into the
// shared-memory log queues, as the device's log collector would receive them.
//
//   vanta-logreader            drain both queues and exit
//   vanta-logreader --follow   keep printing new messages until interrupted
//   vanta-logreader --segment NAME   read another segment than "log_data"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "runtime/logging/logtask.h"
#include "tools/logreader/queue_reader.h"
#include "tools/logreader/record_decoder.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void on_stop(int) {
    g_stop = 1;
}

void usage() {
    std::cerr << "usage: vanta-logreader [--follow] [--segment NAME]\n";
}

// Prints every message completed by the records waiting in `queue`; returns
// how many records it read.
size_t print_waiting(logging::logtask::Queue& queue, const char* label,
                     vanta::logreader::MessageAssembler& assembler) {
    const auto taken = vanta::logreader::take_waiting(queue, assembler);
    for (const auto& message : taken.messages) {
        std::cout << "[" << label << "] " << vanta::logreader::format_message(message) << "\n";
    }
    if (taken.unreadable > 0) {
        std::cout << "[" << label << "] " << taken.unreadable << " unreadable records\n";
    }
    if (taken.dropped > 0) {
        std::cout << "[" << label << "] " << taken.dropped << " records dropped (queue full)\n";
    }
    std::cout.flush();
    return taken.read();
}

}  // namespace

int main(int argc, char** argv) {
    bool follow = false;
    std::string segment = logging::logtask::kSegmentName;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--follow") == 0 || std::strcmp(argv[i], "-f") == 0) {
            follow = true;
        } else if (std::strcmp(argv[i], "--segment") == 0 && i + 1 < argc) {
            segment = argv[++i];
        } else {
            usage();
            return 2;
        }
    }

    std::signal(SIGINT, on_stop);
    std::signal(SIGTERM, on_stop);
    try {
        logging::logtask::LogQueues queues(segment);
        vanta::logreader::MessageAssembler log_messages;
        vanta::logreader::MessageAssembler audit_messages;
        do {
            const size_t read = print_waiting(queues.log(), "log", log_messages) +
                                print_waiting(queues.auditlog(), "audit", audit_messages);
            if (follow && read == 0) {
                queues.log().wait_for_add(200);
            }
        } while (follow && g_stop == 0);
    } catch (const std::exception& e) {
        std::cerr << "vanta-logreader: cannot open log segment '" << segment << "': " << e.what()
                  << "\n";
        return 1;
    }
    return 0;
}
