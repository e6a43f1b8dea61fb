// The TCP connection test against sockets of the test itself.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/net_test_tcp.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using nettest::NetTestTCP;

// A TCP socket on the loopback address with an ephemeral port, listening or
// only bound (then nothing accepts on it).
class LocalPort {
  public:
    explicit LocalPort(bool listening) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) ||
            (listening && listen(socket_, 4) != 0)) {
            throw std::runtime_error("cannot set up a local port");
        }
        socklen_t length = sizeof(address);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LocalPort() { close(socket_); }
    int port() const { return port_; }

  private:
    int socket_;
    int port_ = 0;
};

TEST(NetTestTCP, ListeningLocalPortPasses) {
    LocalPort port(true);
    ConsoleCapture console;
    NetTestTCP tester;
    EXPECT_EQ(tester.open_tcp("localhost", port.port()), nettest::kPassed);
    EXPECT_EQ(tester.get_ip_address(), "127.0.0.1");
    EXPECT_EQ(tester.close_tcp(), nettest::kPassed);
    EXPECT_GE(console.count("url=localhost:" + std::to_string(port.port())), 1u);
    EXPECT_GE(console.count("using remote host: 127.0.0.1"), 1u);
    EXPECT_GE(console.count("socket created OK"), 1u);
    EXPECT_GE(console.count("closed OK"), 1u);
}

TEST(NetTestTCP, PortWithoutListenerFailsToConnect) {
    LocalPort port(false);
    NetTestTCP tester;
    in_addr loopback{};
    loopback.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(tester.open_tcp(loopback, port.port()), nettest::kFailedToConnect);
}

TEST(NetTestTCP, NameThatDoesNotResolveFailsBeforeAnySocket) {
    ConsoleCapture console;
    NetTestTCP tester;
    const int result = tester.open_tcp("no-such-host.invalid", 443);
    EXPECT_TRUE(result == nettest::kFailedToResolveName || result == nettest::kNameserviceFailed)
        << result;
    EXPECT_EQ(tester.get_ip_address(), "");
    EXPECT_GE(console.count("DNS lookup of no-such-host.invalid failed"), 1u);
    EXPECT_GE(console.count("no-such-host.invalid, error="), 1u);
    EXPECT_EQ(console.count("socket created OK"), 0u);
}

TEST(NetTestTCP, EveryCodeHasItsText) {
    const std::vector<std::string> texts = {"Passed",
                                            "Unknown Fail",
                                            "Nameservice Failed",
                                            "Failed to Resolve Name",
                                            "Failed to Create Socket",
                                            "Failed to Bind",
                                            "Failed to Connect",
                                            "Failed to Disconnect"};
    for (int code = 0; code < 8; ++code) {
        EXPECT_EQ(NetTestTCP::return_2_string(code), texts[code]);
    }
    EXPECT_EQ(NetTestTCP::return_2_string(8), "Unknown");
    EXPECT_EQ(NetTestTCP::return_2_string(-1), "Unknown");
}

}  // namespace
}  // namespace vanta::testing
