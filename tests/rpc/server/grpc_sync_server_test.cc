#include "rpc/server/grpc_sync_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "grpc_health.grpc.pb.h"
#include "rpc/server/event_subscription.h"
#include "rpc/server/test_event_service.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using AccessLevel = vanta::GrpcServer::AccessLevel;
using vanta::testing::EventSubscription;
using vanta::testing::TempDir;
using vanta::testing::TestEventService;

namespace {

// Sets the process umask for the lifetime of the guard.
class UmaskGuard {
  public:
    explicit UmaskGuard(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskGuard() { ::umask(previous_); }

  private:
    mode_t previous_;
};

// Makes `dir` the working directory for the lifetime of the guard.
class WorkingDirectoryGuard {
  public:
    explicit WorkingDirectoryGuard(const std::filesystem::path& dir)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectoryGuard() { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_;
};

struct Host {
    TestEventService* service;  // owned by the server
    std::unique_ptr<vanta::GrpcServer> server;
};

Host make_host(const std::string& address, std::chrono::milliseconds shutdown_timeout = 1000ms) {
    auto service = std::make_unique<TestEventService>();
    TestEventService* raw = service.get();
    return {raw,
            std::make_unique<vanta::GrpcSyncServer>(std::move(service), address, shutdown_timeout)};
}

// Calls Echo on `address`; the reply's text, or the error message.
std::string echo(const std::string& address, const std::string& text, int delay_ms = 0) {
    auto stub = vanta::test::TestService::NewStub(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 10s);
    vanta::test::EchoRequest request;
    request.set_text(text);
    request.set_delay_ms(delay_ms);
    vanta::test::EchoReply reply;
    const grpc::Status status = stub->Echo(&context, request, &reply);
    return status.ok() ? reply.text() : "error: " + status.error_message();
}

struct stat file_status(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw std::runtime_error("cannot stat " + path.string());
    }
    return info;
}
mode_t file_mode(const std::filesystem::path& path) {
    return file_status(path).st_mode & 07777;
}
ino_t inode(const std::filesystem::path& path) {
    return file_status(path).st_ino;
}

// A TCP port on the loopback interface that nothing listens on right now.
int free_tcp_port() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!bound) {
        throw std::runtime_error("no free TCP port");
    }
    return ntohs(address.sin_port);
}

TEST(GrpcSyncServer, RefusesAnAddressWithWhiteSpaceNoServiceOrASocketItCannotMake) {
    for (const std::string address : {"unix:/tmp/vanta test/socket", "unix:/tmp/socket\t",
                                      "unix:/tmp/socket\n", " unix:/tmp/socket"}) {
        try {
            make_host(address);
            ADD_FAILURE() << "accepted '" << address << "'";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(),
                      "Aborting service launch due to invalid address: '" + address + "'");
        }
    }
    EXPECT_THROW(vanta::GrpcSyncServer(nullptr, "unix:/tmp/socket", 1000ms), std::invalid_argument);

    TempDir dir;
    Host host = make_host("unix:" + (dir.path() / "missing" / "socket").string());
    try {
        host.server->run(AccessLevel::AllWrite);
        FAIL() << "started on a socket in a missing directory";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Unable to build and start service server");
    }
}

TEST(GrpcSyncServer, SetsTheSocketModeWhateverTheUmask) {
    UmaskGuard umask(077);
    TempDir dir;
    const std::pair<AccessLevel, mode_t> levels[] = {
        {AccessLevel::OwnerWrite, 0644},
        {AccessLevel::GroupWrite, 0664},
        {AccessLevel::AllWrite, 0666},
    };
    for (const auto& [level, mode] : levels) {
        const std::string name = "socket" + std::to_string(static_cast<int>(level));
        Host host = make_host(dir.socket_address(name));
        host.server->run(level);
        EXPECT_EQ(file_mode(dir.path() / name), mode) << "level " << static_cast<int>(level);
        EXPECT_EQ(echo(dir.socket_address(name), "hello"), "hello");
    }

    Host unchanged = make_host(dir.socket_address("unchanged"));
    unchanged.server->run(AccessLevel::Unchanged);
    EXPECT_EQ(file_mode(dir.path() / "unchanged") & 077, 0u);

    // A second run builds nothing: neither a new socket nor a new mode.
    const ino_t first_socket = inode(dir.path() / "unchanged");
    unchanged.server->run(AccessLevel::AllWrite);
    EXPECT_EQ(inode(dir.path() / "unchanged"), first_socket);
    EXPECT_EQ(file_mode(dir.path() / "unchanged") & 077, 0u);
    EXPECT_EQ(echo(dir.socket_address("unchanged"), "still here"), "still here");
}

TEST(GrpcSyncServer, TcpAddressBindsAndChangesNoFile) {
    TempDir dir;
    const std::string address = "127.0.0.1:" + std::to_string(free_tcp_port());
    // The part of the address after its first five characters, as a file in
    // the working directory: a host that took any address for a socket path
    // would change its mode.
    const std::filesystem::path lookalike = dir.path() / address.substr(5);
    std::ofstream(lookalike).put('x');
    std::filesystem::permissions(
        lookalike, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    WorkingDirectoryGuard working_directory(dir.path());

    Host host = make_host(address);
    host.server->run(AccessLevel::AllWrite);

    EXPECT_EQ(echo(address, "over tcp"), "over tcp");
    EXPECT_EQ(file_mode(lookalike), 0600u);
}

TEST(GrpcSyncServer, DestructionCancelsOpenStreamsAtTheShutdownDeadline) {
    TempDir dir;
    const std::string address = dir.socket_address("api");
    Host host = make_host(address, 1000ms);
    host.server->run(AccessLevel::Unchanged);
    EventSubscription client(address);
    ASSERT_TRUE(client.wait_until_started());

    const auto start = std::chrono::steady_clock::now();
    host.server.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, 950ms) << "the open stream was cut before the deadline";
    EXPECT_LT(elapsed, 3s);
    EXPECT_FALSE(client.next().has_value());
    EXPECT_FALSE(client.finish().ok());
}

TEST(GrpcSyncServer, DestructionLetsRunningCallsFinishWithoutWaitingForTheDeadline) {
    TempDir dir;
    const std::string address = dir.socket_address("api");
    Host host = make_host(address, 5000ms);
    host.server->run(AccessLevel::Unchanged);

    auto reply = std::async(std::launch::async, [&] { return echo(address, "slow", 300); });
    ASSERT_TRUE(host.service->wait_for_echo_calls(1));
    const auto start = std::chrono::steady_clock::now();
    host.server.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(reply.get(), "slow");
    EXPECT_LT(elapsed, 2500ms);
    EXPECT_NE(echo(address, "too late"), "too late");
}

TEST(GrpcSyncServer, HealthIsServingForEachServiceAndNotServingFromDestruction) {
    using grpc::health::v1::HealthCheckResponse;
    TempDir dir;
    const std::string address = dir.socket_address("api");
    Host host = make_host(address, 1000ms);
    host.server->run(AccessLevel::Unchanged);
    auto health = grpc::health::v1::Health::NewStub(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    const auto check = [&](const std::string& service) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 10s);
        grpc::health::v1::HealthCheckRequest request;
        request.set_service(service);
        HealthCheckResponse response;
        const grpc::Status status = health->Check(&context, request, &response);
        return status.ok() ? HealthCheckResponse::ServingStatus_Name(response.status())
                           : "error " + std::to_string(status.error_code());
    };
    EXPECT_EQ(check(""), "SERVING");
    EXPECT_EQ(check("vanta.test.TestService"), "SERVING");
    EXPECT_EQ(check("vanta.test.Other"), "error " + std::to_string(grpc::StatusCode::NOT_FOUND));

    grpc::ClientContext watch_context;
    watch_context.set_deadline(std::chrono::system_clock::now() + 10s);
    grpc::health::v1::HealthCheckRequest request;
    request.set_service("vanta.test.TestService");
    auto watch = health->Watch(&watch_context, request);
    HealthCheckResponse response;
    ASSERT_TRUE(watch->Read(&response));
    EXPECT_EQ(response.status(), HealthCheckResponse::SERVING);

    auto destroyed = std::async(std::launch::async, [&] { host.server.reset(); });
    ASSERT_TRUE(watch->Read(&response));
    EXPECT_EQ(response.status(), HealthCheckResponse::NOT_SERVING);
    watch_context.TryCancel();
    destroyed.get();
}

}  // namespace
