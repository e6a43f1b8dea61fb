#pragma once

#include <ostream>
#include <string>

#include "cli_errors.h"
#include "event_filter.h"

namespace vanta::cli {

struct EventWatch {
    EventFilter filter;
    // How many accepted events to print before stopping; negative: no limit.
    long count = -1;
    // Protobuf's JSON mapping instead of the human form.
    bool json = false;
};

// Subscribes to the daemon's events and prints the accepted ones to `out`,
// one line each, flushed as they arrive, until `watch.count` were printed or
// the daemon ends the stream, also by stopping. Returns why it stopped when
// the daemon ended the stream, nothing after `watch.count` events. Throws
// CallFailed when the stream fails before it started.
std::string watch_events(const Peer& daemon, const EventWatch& watch, std::ostream& out);

}  // namespace vanta::cli
