#pragma once

#include <string>
#include <vector>

#include "cli_errors.h"

namespace vanta::cli {

// Calls any unary operation of the VantaApi service by name, with the
// request and the answer in JSON (the schemas' own JSON mapping).
class ApiCaller {
  public:
    explicit ApiCaller(Peer daemon);

    // The answer, with every field shown. Throws UsageError for an unknown
    // operation (naming close ones) or a request that is not JSON of the
    // operation's request type, before any call; CallFailed when the call fails.
    std::string call(const std::string& operation, const std::string& request_json);

    // The unary operations, in service order, as "Name(Request) -> Response".
    static std::vector<std::string> operations();
    // Their names alone.
    static std::vector<std::string> operation_names();

  private:
    Peer daemon_;
};

}  // namespace vanta::cli
