#pragma once

#include <netinet/in.h>

#include <string>

#include "runtime/logging/logger.h"

namespace vanta::nettest {

// Result codes of a connection test.
enum NetTestResult : int {
    kPassed = 0,
    kUnknownFail = 1,
    kNameserviceFailed = 2,
    kFailedToResolveName = 3,
    kFailedToCreateSocket = 4,
    kFailedToBind = 5,
    kFailedToConnect = 6,
    kFailedToDisconnect = 7,
};

// Checks whether the device can open a TCP connection to a host and port.
// One tester per test; not for use from several threads at once. The socket
// of a passed test stays open until close_tcp() or destruction.
class NetTestTCP {
  public:
    // How long a connection attempt may take.
    static constexpr int kConnectTimeoutSeconds = 4;

    NetTestTCP();
    ~NetTestTCP();
    NetTestTCP(const NetTestTCP&) = delete;
    NetTestTCP& operator=(const NetTestTCP&) = delete;

    // Resolves `name` (IPv4) and connects to it.
    int open_tcp(const std::string& name, int port);
    // Connects to `address` (network byte order).
    int open_tcp(in_addr address, int port);
    int close_tcp();

    // The first IPv4 address of `name`, or the result code of the failure.
    int dns_lookup(const std::string& name, in_addr& address);
    // The dotted form of the address last resolved or tried; empty before.
    std::string get_ip_address() const;

    // "Passed", "Unknown Fail", ..., "Unknown" for a code outside the table.
    static std::string return_2_string(int code);

  private:
    // Closes the socket of a failed attempt and answers `code`.
    int fail(int code);

    const logging::Logger& logger_;
    int socket_ = -1;
    in_addr address_{};
    bool has_address_ = false;
};

}  // namespace vanta::nettest
