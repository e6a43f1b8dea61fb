#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include <grpcpp/grpcpp.h>

namespace vanta::cli {

// Exit codes of vanta-cli.
inline constexpr int kExitFailed = 1;  // a call failed or its peer was not reachable
inline constexpr int kExitUsage = 2;   // the command line or its input was refused

// Input the CLI refuses before calling anything: an unknown operation or
// event case, a request that is not JSON of the right type. Its text is the
// whole explanation, printed as one line.
class UsageError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// A call that ended with a status other than OK.
class CallFailed : public std::runtime_error {
  public:
    explicit CallFailed(const std::string& line) : std::runtime_error(line) {}
};

// A service the CLI talks to.
struct Peer {
    // What it is called in errors: "daemon", "simulator".
    std::string kind;
    // Its gRPC target: "unix:/tmp/vantaapi_service".
    std::string address;
    std::shared_ptr<grpc::Channel> channel;

    static Peer connect(const std::string& kind, const std::string& address);
};

// The one line that tells why a call to `peer` failed, "<CODE NAME>: <what
// happened>". When the peer was never reached, gRPC's connection text is
// replaced by "<kind> not reachable at <address>"; what a peer that was reached
// answered is passed on, on one line.
std::string failure_line(const grpc::Status& status, const Peer& peer);

// Throws CallFailed with the failure line of `status` unless it is OK.
void throw_unless_ok(const grpc::Status& status, const Peer& peer);

}  // namespace vanta::cli
