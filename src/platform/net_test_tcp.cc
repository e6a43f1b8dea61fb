#include "platform/net_test_tcp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "runtime/logging/loggers.h"

namespace vanta::nettest {

namespace {

std::string dotted(in_addr address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof(text));
    return text;
}

}  // namespace

NetTestTCP::NetTestTCP() : logger_(logging::getLogger("netTestTCP")) {}

NetTestTCP::~NetTestTCP() {
    if (socket_ >= 0) {
        close_tcp();
    }
}

std::string NetTestTCP::return_2_string(int code) {
    switch (code) {
        case kPassed:
            return "Passed";
        case kUnknownFail:
            return "Unknown Fail";
        case kNameserviceFailed:
            return "Nameservice Failed";
        case kFailedToResolveName:
            return "Failed to Resolve Name";
        case kFailedToCreateSocket:
            return "Failed to Create Socket";
        case kFailedToBind:
            return "Failed to Bind";
        case kFailedToConnect:
            return "Failed to Connect";
        case kFailedToDisconnect:
            return "Failed to Disconnect";
        default:
            return "Unknown";
    }
}

std::string NetTestTCP::get_ip_address() const {
    return has_address_ ? dotted(address_) : std::string();
}

int NetTestTCP::dns_lookup(const std::string& name, in_addr& address) {
    // The reentrant form: tests run from several request threads at once.
    hostent entry{};
    hostent* result = nullptr;
    int error = 0;
    std::vector<char> buffer(2048);
    int status = 0;
    while ((status = gethostbyname2_r(name.c_str(), AF_INET, &entry, buffer.data(), buffer.size(),
                                      &result, &error)) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    if (status == 0 && result != nullptr && result->h_addr_list[0] != nullptr) {
        std::memcpy(&address, result->h_addr_list[0], sizeof(address));
        return kPassed;
    }
    if (error == HOST_NOT_FOUND || error == NO_DATA || (status == 0 && result == nullptr)) {
        logger_.error("dns: No dns entry name found for {}, error={}", name, hstrerror(error));
        return kFailedToResolveName;
    }
    logger_.error("dns: Dns failed for host name {}, error={}", name, hstrerror(error));
    return kNameserviceFailed;
}

int NetTestTCP::open_tcp(const std::string& name, int port) {
    logger_.info("url={}:{}", name, port);
    in_addr address{};
    const int lookup = dns_lookup(name, address);
    if (lookup != kPassed) {
        logger_.error("DNS lookup of {} failed", name);
        return lookup;
    }
    logger_.info("using remote host: {}", dotted(address));
    return open_tcp(address, port);
}

int NetTestTCP::open_tcp(in_addr address, int port) {
    address_ = address;
    has_address_ = true;
    if (port < 0 || port > 65535) {
        logger_.error("port {} is out of range", port);
        return kUnknownFail;
    }
    if (socket_ >= 0) {
        close_tcp();
    }
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ < 0) {
        logger_.error("socket create failed: {}", std::strerror(errno));
        return kFailedToCreateSocket;
    }
    logger_.info("socket created OK");

    const int flags = fcntl(socket_, F_GETFL, 0);
    fcntl(socket_, F_SETFL, flags | O_NONBLOCK);

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        logger_.error("socket {} bind failed: {}", socket_, std::strerror(errno));
        return fail(kFailedToBind);
    }
    logger_.info("socket {} bind OK to {}:{}", socket_, dotted(address), port);

    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr = address;
    remote.sin_port = htons(static_cast<uint16_t>(port));
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&remote), sizeof(remote)) != 0 &&
        errno != EINPROGRESS) {
        logger_.error("socket {} connect failed: {}", socket_, std::strerror(errno));
        return fail(kFailedToConnect);
    }

    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket_, &writable);
    timeval timeout{kConnectTimeoutSeconds, 0};
    int ready = 0;
    while ((ready = select(socket_ + 1, nullptr, &writable, nullptr, &timeout)) < 0 &&
           errno == EINTR) {
    }
    if (ready <= 0) {
        logger_.error("socket {} connect timed out", socket_);
        return fail(kFailedToConnect);
    }
    int pending = 0;
    socklen_t length = sizeof(pending);
    if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &pending, &length) != 0 || pending != 0) {
        logger_.error("socket {} connect failed: {}", socket_, std::strerror(pending));
        return fail(kFailedToConnect);
    }
    return kPassed;
}

int NetTestTCP::close_tcp() {
    const int descriptor = socket_;
    socket_ = -1;
    if (close(descriptor) != 0) {
        logger_.error("socket close {} failed\n", descriptor);
        return kFailedToDisconnect;
    }
    logger_.info("socket {} closed OK", descriptor);
    return kPassed;
}

int NetTestTCP::fail(int code) {
    close(socket_);
    socket_ = -1;
    return code;
}

}  // namespace vanta::nettest
