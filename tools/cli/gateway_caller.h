#pragma once

#include <string>

#include "cli_errors.h"

namespace vanta::cli {

// Runs the command gateway's requests; each answer is returned as the gateway
// sent it. Throws UsageError for a payload that is not JSON (before calling),
// CallFailed when the call fails.
class GatewayCaller {
  public:
    explicit GatewayCaller(Peer daemon);

    std::string command(const std::string& path, const std::string& payload_json);
    std::string status(const std::string& path, const std::string& payload_json);
    // `which` is "commands" or "statuses".
    std::string schemas(const std::string& which);

  private:
    Peer daemon_;
};

}  // namespace vanta::cli
