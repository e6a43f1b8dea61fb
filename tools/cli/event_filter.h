#pragma once

#include <set>
#include <string>
#include <vector>

#include "vantaapievents.pb.h"

namespace vanta::cli {

// Which events `vanta-cli events` prints: all, or those of the named cases.
class EventFilter {
  public:
    // Every event.
    EventFilter() = default;
    // The events of the cases named in `cases` (each entry one name or a
    // comma-separated list). Throws UsageError for a name that is no case,
    // naming the close ones.
    explicit EventFilter(const std::vector<std::string>& cases);

    bool accepts(const vantaapi::VantaEvent& event) const;

  private:
    // Field numbers of the accepted cases; empty accepts every event.
    std::set<int> accepted_;
};

}  // namespace vanta::cli
