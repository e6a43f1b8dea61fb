#include "rpc/server/grpc_sync_server.h"

#include <sys/stat.h>

#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "grpc_health.grpc.pb.h"
#include "rpc/server/test_event_service.h"
#include "support/named_calls.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using AccessLevel = vanta::GrpcServer::AccessLevel;
using ::testing::StartsWith;
using ::testing::ThrowsMessage;
using vanta::testing::EventSubscription;
using vanta::testing::TestEventService;

namespace {

// Echo on `address` with `request` (text form): the reply, or the error (see
// call_named).
std::string echo(const std::string& address, const std::string& request) {
    return vanta::testing::call_named(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()),
        "vanta.test.TestService.Echo", request);
}

// The socket file's inode and permission bits.
std::pair<ino_t, mode_t> socket_file(const std::string& address) {
    struct stat info {};
    EXPECT_EQ(::stat(address.substr(5).c_str(), &info), 0) << address;
    return {info.st_ino, info.st_mode & 07777};
}

class GrpcSyncServerTest : public ::testing::Test {
  protected:
    // Every case runs under a umask that leaves others no access, so that a
    // mode that was not set shows.
    GrpcSyncServerTest() : umask_(::umask(077)) {}
    ~GrpcSyncServerTest() override { ::umask(umask_); }

    // A host of a TestEventService on `address`, kept in `server_`.
    void host(const std::string& address, std::chrono::milliseconds shutdown_timeout = 1000ms) {
        auto service = std::make_unique<TestEventService>();
        service_ = service.get();
        server_ =
            std::make_unique<vanta::GrpcSyncServer>(std::move(service), address, shutdown_timeout);
    }

    vanta::testing::TempDir dir_;
    const std::string address_ = dir_.socket_address("api");
    TestEventService* service_ = nullptr;  // owned by the server
    std::unique_ptr<vanta::GrpcServer> server_;
    const mode_t umask_;
};

TEST_F(GrpcSyncServerTest, RefusesAnAddressWithWhiteSpaceNoServiceOrASocketItCannotMake) {
    for (const std::string address : {"unix:/tmp/vanta test/socket", "unix:/tmp/socket\t",
                                      "unix:/tmp/socket\n", " unix:/tmp/socket"}) {
        EXPECT_THAT([&] { host(address); },
                    ThrowsMessage<std::runtime_error>(
                        "Aborting service launch due to invalid address: '" + address + "'"));
    }
    EXPECT_THROW(vanta::GrpcSyncServer(nullptr, address_, 1000ms), std::invalid_argument);

    host(dir_.socket_address("missing/socket"));
    EXPECT_THAT([&] { server_->run(AccessLevel::AllWrite); },
                ThrowsMessage<std::runtime_error>("Unable to build and start service server"));
}

TEST_F(GrpcSyncServerTest, SetsTheModeOfAUnixSocketWhateverTheUmask) {
    for (const auto& [level, mode] : {std::pair{AccessLevel::OwnerWrite, 0644},
                                      {AccessLevel::GroupWrite, 0664},
                                      {AccessLevel::AllWrite, 0666}}) {
        const std::string address = dir_.socket_address(std::to_string(mode));
        host(address);
        server_->run(level);
        EXPECT_EQ(socket_file(address).second, static_cast<mode_t>(mode));
    }

    host(address_);
    server_->run(AccessLevel::Unchanged);
    const auto unchanged = socket_file(address_);
    EXPECT_EQ(unchanged.second & 077, 0u);
    // A second run builds nothing: neither a new socket nor a new mode.
    server_->run(AccessLevel::AllWrite);
    EXPECT_EQ(socket_file(address_), unchanged);
    EXPECT_EQ(echo(address_, "text: 'still here'"), "text: \"still here\"");

    // Only a "unix:" address names a file whose mode can be set: a host that
    // took any address for a socket path would fail to change the mode of the
    // missing file "0.0.1:0".
    host("127.0.0.1:0");
    EXPECT_NO_THROW(server_->run(AccessLevel::AllWrite));
}

TEST_F(GrpcSyncServerTest, DestructionCancelsOpenStreamsAtTheShutdownDeadline) {
    host(address_, 1000ms);
    server_->run(AccessLevel::Unchanged);
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());

    const auto start = std::chrono::steady_clock::now();
    server_.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, 950ms) << "the open stream was cut before the deadline";
    EXPECT_LT(elapsed, 3s);
    EXPECT_FALSE(client.next().has_value());
    EXPECT_FALSE(client.finish().ok());
}

TEST_F(GrpcSyncServerTest, DestructionLetsRunningCallsFinishWithoutWaitingForTheDeadline) {
    host(address_, 5000ms);
    server_->run(AccessLevel::Unchanged);

    auto reply = std::async(std::launch::async,
                            [&] { return echo(address_, "text: 'slow' delay_ms: 300"); });
    ASSERT_TRUE(service_->wait_for("echo call", 1));
    const auto start = std::chrono::steady_clock::now();
    server_.reset();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(reply.get(), "text: \"slow\"");
    EXPECT_LT(elapsed, 2500ms);
    EXPECT_THAT(echo(address_, "text: 'too late'"), StartsWith("error 14 "));
}

// A watch's first answer is the status the host set at its start; gRPC's own
// answers (the whole server, unknown services) are not looked at.
TEST_F(GrpcSyncServerTest, HealthIsServingForEachServiceAndNotServingFromDestruction) {
    using grpc::health::v1::HealthCheckResponse;
    host(address_);
    server_->run(AccessLevel::Unchanged);
    auto health = grpc::health::v1::Health::NewStub(
        grpc::CreateChannel(address_, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 10s);
    grpc::health::v1::HealthCheckRequest request;
    request.set_service("vanta.test.TestService");
    auto watch = health->Watch(&context, request);
    HealthCheckResponse response;
    ASSERT_TRUE(watch->Read(&response));
    EXPECT_EQ(response.status(), HealthCheckResponse::SERVING);

    auto destroyed = std::async(std::launch::async, [&] { server_.reset(); });
    ASSERT_TRUE(watch->Read(&response));
    EXPECT_EQ(response.status(), HealthCheckResponse::NOT_SERVING);
    context.TryCancel();
    destroyed.get();
}

}  // namespace
