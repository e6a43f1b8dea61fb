#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_channel.h"
#include "rpc/client/test_client.h"
#include "runtime/executor/manual_executor.h"
#include "sim/backend_server.h"
#include "support/fake_test_service.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using vanta::GrpcClientBase;
using vanta::GrpcClientChannel;
using vanta::sim::BackendServer;
using vanta::testing::FakeTestService;
using vanta::testing::TempDir;
using vanta::testing::TestClientImpl;
using ConnectivityState = GrpcClientBase::ConnectivityState;

namespace {

std::chrono::milliseconds since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// Counts how often the channel is asked to connect.
class CountingChannel final : public GrpcClientChannel {
  public:
    explicit CountingChannel(const std::string& address)
        : GrpcClientChannel(address, grpc::InsecureChannelCredentials()) {}
    grpc_connectivity_state try_connect() override {
        ++connect_requests;
        return GrpcClientChannel::try_connect();
    }
    std::atomic<int> connect_requests{0};
};

// A channel that reports a state gRPC does not have.
class BrokenStateChannel final : public GrpcClientChannel {
  public:
    explicit BrokenStateChannel(const std::string& address)
        : GrpcClientChannel(address, grpc::InsecureChannelCredentials()) {}
    grpc_connectivity_state state() override { return static_cast<grpc_connectivity_state>(7); }
    // Values beyond gRPC's states that the enumeration can still hold (its
    // range is 0 to 7): anything larger would be undefined behaviour here.
    grpc_connectivity_state try_connect() override {
        return static_cast<grpc_connectivity_state>(6);
    }
};

// The GrpcClient part of a backend client, without streams.
class PlainClient final : public vanta::GrpcClient<vanta::test::TestService, GrpcClientBase> {
  public:
    using GrpcClient::GrpcClient;
    std::string echo(const std::string& text) {
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 2s);
        vanta::test::EchoRequest request;
        request.set_text(text);
        vanta::test::EchoReply reply;
        vanta::handle_grpc_status("Test Service", "Echo", stub().Echo(&context, request, &reply));
        return reply.text();
    }
};

TEST(GrpcClientChannel, WaitForConnectedGivesUpAfterTheTimeoutAskingEveryHalfSecond) {
    TempDir dir;
    CountingChannel channel(dir.socket_address("nobody"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.wait_for_connected(3s));
    EXPECT_GE(since(start), 2900ms);
    EXPECT_LT(since(start), 4000ms);
    EXPECT_GE(channel.connect_requests.load(), 5);
    EXPECT_LE(channel.connect_requests.load(), 7);
}

TEST(GrpcClientChannel, WaitForConnectedWithStopChecksStopFirstThenKeepsTryingUntilStopped) {
    TempDir dir;
    CountingChannel channel(dir.socket_address("nobody"));
    EXPECT_THROW(channel.wait_for_connected(std::function<bool()>()), std::bad_function_call);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.wait_for_connected([] { return true; }));
    EXPECT_LT(since(start), 500ms);
    EXPECT_EQ(channel.connect_requests.load(), 0);

    start = std::chrono::steady_clock::now();
    const auto stop_at = start + 1500ms;
    EXPECT_FALSE(
        channel.wait_for_connected([&] { return std::chrono::steady_clock::now() >= stop_at; }));
    // The wait ends once stop answers true, having asked to connect meanwhile.
    EXPECT_GE(since(start), 1500ms);
    EXPECT_LT(since(start), 3000ms);
    EXPECT_GE(channel.connect_requests.load(), 3);
}

TEST(GrpcClientChannel, WaitForChannelStateLooksOnceWithoutTimeElseFollowsTheConnection) {
    TempDir dir;
    FakeTestService backend;
    BackendServer server(dir.socket_address("backend"), {&backend});

    GrpcClientChannel idle(dir.socket_address("backend"), grpc::InsecureChannelCredentials());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 0s));
    EXPECT_LT(since(start), 100ms);
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_IDLE, 0s));

    // A connection someone else started.
    idle.try_connect();
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 5s));
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 0s));
}

TEST(GrpcClient, ReportsTheChannelStateWithGrpcValues) {
    TempDir dir;
    FakeTestService backend;
    BackendServer server(dir.socket_address("backend"), {&backend});
    PlainClient client(dir.socket_address("backend"));
    EXPECT_EQ(client.channel_state(), ConnectivityState::Idle);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(client.wait_for_connected(5s));
    EXPECT_LT(since(start), 2s);
    EXPECT_EQ(client.channel_state(), ConnectivityState::Ready);
    EXPECT_EQ(client.try_connect(), ConnectivityState::Ready);
    EXPECT_TRUE(client.wait_for_channel_state(ConnectivityState::Ready, 0s));
    EXPECT_EQ(client.echo("hello"), "hello");
}

TEST(GrpcClient, RefusesConnectivityValuesOutsideGrpcs) {
    TempDir dir;
    PlainClient broken(std::make_shared<BrokenStateChannel>(dir.socket_address("x")));
    try {
        broken.channel_state();
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Unknown grpc connectivity state: 7");
    }
    try {
        broken.try_connect();
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Unknown grpc connectivity state: 6");
    }

    PlainClient client(dir.socket_address("x"));
    try {
        client.wait_for_channel_state(static_cast<ConnectivityState>(5), 1s);
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Unknown connectivity state");
    }
}

TEST(GrpcClient, RefreshChannelMakesANewChannelToTheSameAddressAndKeepsTheStub) {
    TempDir dir;
    FakeTestService backend;
    BackendServer server(dir.socket_address("backend"), {&backend});
    PlainClient client(dir.socket_address("backend"));
    ASSERT_EQ(client.echo("before"), "before");

    std::weak_ptr<GrpcClientChannel> previous = client.channel();
    client.refresh_channel();
    EXPECT_TRUE(previous.expired());
    EXPECT_EQ(client.channel()->address(), dir.socket_address("backend"));
    // The new channel has not been used for anything yet.
    EXPECT_EQ(client.channel_state(), ConnectivityState::Idle);
    EXPECT_EQ(client.echo("after"), "after");
}

TEST(GrpcClient, UnreachableBackendRaisesUnavailableWithTheServiceAndMethod) {
    TempDir dir;
    ManualExecutor executor;
    TestClientImpl client(dir.socket_address("nobody"), executor);
    try {
        client.Echo("hello", 0ms);
        ADD_FAILURE() << "nothing thrown";
    } catch (const vanta::ServiceUnavailableError& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("Test Service::Echo: UNAVAILABLE - ["));
    }
}

}  // namespace
