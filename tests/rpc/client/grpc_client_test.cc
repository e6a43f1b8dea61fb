#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_channel.h"
#include "sim/backend_server.h"
#include "support/fake_test_service.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using ::testing::ThrowsMessage;
using vanta::GrpcClientBase;
using vanta::GrpcClientChannel;
using ConnectivityState = GrpcClientBase::ConnectivityState;

namespace {

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

// A channel that reports states gRPC does not have: values the enumeration
// can still hold (its range is 0 to 7); anything larger would be undefined
// behaviour here.
class BrokenStateChannel final : public GrpcClientChannel {
  public:
    explicit BrokenStateChannel(const std::string& address)
        : GrpcClientChannel(address, grpc::InsecureChannelCredentials()) {}
    grpc_connectivity_state state() override { return static_cast<grpc_connectivity_state>(7); }
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
        return stub().Echo(&context, request, &reply).ok() ? reply.text() : "failed";
    }
};

// A backend on "backend" and nothing on "nobody".
class GrpcClientTest : public ::testing::Test {
  protected:
    vanta::testing::TempDir dir_;
    const std::string backend_address_ = dir_.socket_address("backend");
    const std::string nobody_address_ = dir_.socket_address("nobody");
    vanta::testing::FakeTestService backend_;
    vanta::sim::BackendServer server_{backend_address_, {&backend_}};
};

TEST_F(GrpcClientTest, WaitForConnectedAsksEveryHalfSecondUntilTheTimeoutOrTheStop) {
    CountingChannel channel(nobody_address_);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.wait_for_connected([] { return true; }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(channel.connect_requests.load(), 0) << "stop is looked at first";

    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(channel.wait_for_connected(3s));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2900ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4000ms);
    EXPECT_GE(channel.connect_requests.load(), 5);
    EXPECT_LE(channel.connect_requests.load(), 7);

    channel.connect_requests = 0;
    start = std::chrono::steady_clock::now();
    const auto stop_at = start + 1500ms;
    EXPECT_FALSE(
        channel.wait_for_connected([&] { return std::chrono::steady_clock::now() >= stop_at; }));
    // The wait ends once stop answers true, having asked to connect meanwhile
    // (each request also cuts gRPC's growing back-off short).
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
    EXPECT_GE(channel.connect_requests.load(), 3);
}

TEST_F(GrpcClientTest, WaitForChannelStateLooksOnceWithoutTimeElseFollowsTheConnection) {
    GrpcClientChannel idle(backend_address_, grpc::InsecureChannelCredentials());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 0s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_IDLE, 0s));

    // A connection someone else started.
    idle.try_connect();
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 5s));
    EXPECT_TRUE(idle.wait_for_channel_state(GRPC_CHANNEL_READY, 0s));
}

TEST_F(GrpcClientTest, ClientReportsTheChannelStateAndRefreshMakesANewChannelToTheSameAddress) {
    PlainClient client(backend_address_);
    EXPECT_EQ(client.channel_state(), ConnectivityState::Idle);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(client.wait_for_connected(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(client.channel_state(), ConnectivityState::Ready);
    EXPECT_EQ(client.try_connect(), ConnectivityState::Ready);
    EXPECT_TRUE(client.wait_for_channel_state(ConnectivityState::Ready, 0s));

    std::weak_ptr<GrpcClientChannel> previous = client.channel();
    client.refresh_channel();
    EXPECT_TRUE(previous.expired());
    EXPECT_EQ(client.channel()->address(), backend_address_);
    // The stub keeps the channel it was built on: a call leaves the new one
    // unused.
    EXPECT_EQ(client.echo("after"), "after");
    EXPECT_EQ(client.channel_state(), ConnectivityState::Idle);
}

TEST_F(GrpcClientTest, ClientRefusesConnectivityValuesOutsideGrpcs) {
    PlainClient broken(std::make_shared<BrokenStateChannel>(nobody_address_));
    EXPECT_THAT([&] { broken.channel_state(); },
                ThrowsMessage<std::invalid_argument>("Unknown grpc connectivity state: 7"));
    EXPECT_THAT([&] { broken.try_connect(); },
                ThrowsMessage<std::invalid_argument>("Unknown grpc connectivity state: 6"));
    PlainClient client(nobody_address_);
    EXPECT_THAT([&] { client.wait_for_channel_state(static_cast<ConnectivityState>(5), 1s); },
                ThrowsMessage<std::invalid_argument>("Unknown connectivity state"));
}

}  // namespace
