#include <dirent.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/test_client.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/logging/loggers.h"
#include "sim/backend_server.h"
#include "support/fake_test_service.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using vanta::GrpcClientChannel;
using vanta::sim::BackendServer;
using vanta::testing::EventRecorder;
using vanta::testing::FakeTestService;
using vanta::testing::TempDir;
using vanta::testing::TestClientImpl;
using vanta::testing::TestClientStub;

namespace {

using TestStreamManager =
    vanta::GrpcClientBidiStreamManager<vanta::test::SubscriptionRequest, vanta::test::Event>;

std::chrono::milliseconds since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// The executor's queue, driven by the test the way the main loop drives it.
class QueueDriver {
  public:
    explicit QueueDriver(WaitingExecutor& executor) : executor_(executor) {}

    unsigned size() {
        std::lock_guard<std::mutex> lock(executor_.queue_mutex());
        return executor_.size();
    }
    // Waits (bounded) for the queue to hold `count` items.
    bool wait_for_size(unsigned count, std::chrono::milliseconds limit = 5s) {
        return vanta::testing::wait_until([&] { return size() >= count; }, limit);
    }
    WaitingExecutor::ContextualWorkItem take() {
        std::lock_guard<std::mutex> lock(executor_.queue_mutex());
        return executor_.fetch_work();
    }

  private:
    WaitingExecutor& executor_;
};

// Threads of this process.
int thread_count() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(tasks);
    }
    return count;
}

// --- The stream manager on its own -------------------------------------------

TEST(GrpcClientBidiStreamManager, RefusesAnEmptyStreamAllocator) {
    TempDir dir;
    auto channel = std::make_shared<GrpcClientChannel>(dir.socket_address("backend"),
                                                       grpc::InsecureChannelCredentials());
    try {
        TestStreamManager manager(channel, nullptr, nullptr, nullptr);
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "GrpcClientBidiStreamManager: stream_allocator == nullptr");
    }
}

class StreamManagerOnABackend : public ::testing::Test {
  protected:
    std::unique_ptr<TestStreamManager> make_manager() {
        auto channel = std::make_shared<GrpcClientChannel>(dir_.socket_address("backend"),
                                                           grpc::InsecureChannelCredentials());
        return std::make_unique<TestStreamManager>(
            channel, [this](grpc::ClientContext* context) { return stub_->Subscribe(context); },
            [this](const vanta::test::Event& event) {
                recorder_.on_event()({0, event.text()});
            },
            recorder_.on_stream_end());
    }

    TempDir dir_;
    FakeTestService backend_;
    std::unique_ptr<vanta::test::TestService::Stub> stub_ = vanta::test::TestService::NewStub(
        grpc::CreateChannel(dir_.socket_address("backend"), grpc::InsecureChannelCredentials()));
    EventRecorder recorder_;
};

TEST_F(StreamManagerOnABackend, DeliversEventsInOrderAndReportsTheEndOnce) {
    BackendServer server(dir_.socket_address("backend"), {&backend_});
    auto manager = make_manager();
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    EXPECT_TRUE(manager->is_open());
    backend_.publish("one");
    backend_.publish("two");
    ASSERT_TRUE(recorder_.wait_for_events(2));
    EXPECT_THAT(recorder_.texts(), ElementsAre("one", "two"));

    backend_.close_streams();
    ASSERT_TRUE(recorder_.wait_for_stream_ends(1));
    manager.reset();
    EXPECT_EQ(recorder_.stream_ends(), 1);
}

TEST_F(StreamManagerOnABackend, DestroyedWhileWaitingForTheBackendStopsWithinASecond) {
    auto manager = make_manager();
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(manager->is_open());
    EXPECT_FALSE(manager->write(vanta::test::SubscriptionRequest()));
    const auto start = std::chrono::steady_clock::now();
    manager.reset();
    EXPECT_LT(since(start), 1500ms);
    EXPECT_EQ(recorder_.stream_ends(), 1);
}

// --- The observable client -------------------------------------------------

class ObservableClient : public ::testing::Test {
  protected:
    ObservableClient() : executor_(logging::getNullLogger()) {}

    void observe() { client_.SetObserver(recorder_.on_event(), recorder_.on_disconnect()); }

    TempDir dir_;
    WaitingExecutor executor_;
    QueueDriver queue_{executor_};
    EventRecorder recorder_;
    TestClientImpl client_{dir_.socket_address("backend"), executor_};
};

TEST_F(ObservableClient, BackendStartedLaterIsReachedSoonAfterItsSocketAppears) {
    observe();
    // Long enough for several failed connection attempts.
    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(recorder_.texts().empty());
    EXPECT_EQ(queue_.size(), 0u);

    FakeTestService backend;
    BackendServer server(dir_.socket_address("backend"), {&backend});
    const auto socket_appeared = std::chrono::steady_clock::now();
    ASSERT_TRUE(backend.wait_for_opened(1));
    EXPECT_LT(since(socket_appeared), 1000ms);

    backend.publish("volume 7");
    backend.publish("disconnected");
    ASSERT_TRUE(recorder_.wait_for_events(1));
    EXPECT_THAT(recorder_.texts(), ElementsAre("volume 7"));
    vanta::testing::wait_until([&] { return recorder_.disconnects() > 0; }, 5s);
    EXPECT_EQ(recorder_.disconnects(), 1);
}

TEST_F(ObservableClient, RestartedBackendIsResubscribedByOneQueuedItemOnANewChannel) {
    std::optional<FakeTestService> backend(std::in_place);
    std::optional<BackendServer> server(std::in_place, dir_.socket_address("backend"),
                                        std::initializer_list<grpc::Service*>{&*backend});
    observe();
    ASSERT_TRUE(backend->wait_for_open_streams(1));
    backend->publish("before");
    ASSERT_TRUE(recorder_.wait_for_events(1));

    server.reset();  // the backend dies
    ASSERT_TRUE(queue_.wait_for_size(1));
    std::this_thread::sleep_for(700ms);
    ASSERT_EQ(queue_.size(), 1u);
    WaitingExecutor::ContextualWorkItem item = queue_.take();
    EXPECT_EQ(item.name, "reconnect_stream");
    EXPECT_EQ(item.id, 0);

    backend.emplace();
    server.emplace(dir_.socket_address("backend"),
                   std::initializer_list<grpc::Service*>{&*backend});
    const std::weak_ptr<GrpcClientChannel> old_channel = client_.channel();
    executor_.process_work(item);
    EXPECT_TRUE(old_channel.expired());

    ASSERT_TRUE(backend->wait_for_open_streams(1));
    backend->publish("after");
    ASSERT_TRUE(recorder_.wait_for_events(2));
    EXPECT_THAT(recorder_.texts(), ElementsAre("before", "after"));
    EXPECT_EQ(backend->opened(), 1);
    EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(ObservableClient, RemoveObserverUnsubscribesThenHalfClosesAndNothingReconnects) {
    FakeTestService backend;
    BackendServer server(dir_.socket_address("backend"), {&backend});
    observe();
    ASSERT_TRUE(backend.wait_for_open_streams(1));

    client_.RemoveObserver();
    EXPECT_THAT(backend.journal(), ElementsAre("unsubscribe=true", "half-close"));
    EXPECT_TRUE(backend.wait_for_open_streams(0));
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(queue_.size(), 0u);
    EXPECT_EQ(backend.opened(), 1);
}

TEST_F(ObservableClient, RemoveObserverWhileWaitingForTheBackendReturnsWithinASecond) {
    observe();
    std::this_thread::sleep_for(300ms);
    const auto start = std::chrono::steady_clock::now();
    client_.RemoveObserver();
    EXPECT_LT(since(start), 1500ms);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(ObservableClient, ReconnectionQueuedBeforeRemoveObserverDoesNothing) {
    FakeTestService backend;
    BackendServer server(dir_.socket_address("backend"), {&backend});
    observe();
    ASSERT_TRUE(backend.wait_for_open_streams(1));
    backend.close_streams();
    ASSERT_TRUE(queue_.wait_for_size(1));

    client_.RemoveObserver();
    WaitingExecutor::ContextualWorkItem item = queue_.take();
    executor_.process_work(item);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(backend.opened(), 1);
}

TEST_F(ObservableClient, ReplacingTheObserverDoesNotQueueAReconnection) {
    FakeTestService backend;
    BackendServer server(dir_.socket_address("backend"), {&backend});
    observe();
    ASSERT_TRUE(backend.wait_for_open_streams(1));

    EventRecorder second;
    client_.SetObserver(second.on_event(), second.on_disconnect());
    ASSERT_TRUE(backend.wait_for_opened(2));
    ASSERT_TRUE(backend.wait_for_open_streams(1));
    backend.publish("to the second");
    ASSERT_TRUE(second.wait_for_events(1));
    EXPECT_TRUE(recorder_.texts().empty());
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(ObservableClient, ThreeArgumentFormReportsTheEndAndLeavesReconnectionToTheCaller) {
    FakeTestService backend;
    BackendServer server(dir_.socket_address("backend"), {&backend});
    client_.SetObserver(recorder_.on_event(), recorder_.on_disconnect(), recorder_.on_stream_end());
    ASSERT_TRUE(backend.wait_for_open_streams(1));
    backend.publish("event");
    ASSERT_TRUE(recorder_.wait_for_events(1));

    backend.close_streams();
    ASSERT_TRUE(recorder_.wait_for_stream_ends(1));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(queue_.size(), 0u);
    EXPECT_EQ(backend.opened(), 1);
}

TEST(GrpcObservableClientStub, DoesNothingAndStartsNoThread) {
    TestClientStub client;
    EventRecorder recorder;
    const int threads_before = thread_count();
    client.SetObserver(recorder.on_event(), recorder.on_disconnect());
    client.SetObserver(recorder.on_event(), recorder.on_disconnect(), recorder.on_stream_end());
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(thread_count(), threads_before);
    client.RemoveObserver();
    EXPECT_EQ(recorder.stream_ends(), 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.wait_for_connected(5s));
    EXPECT_FALSE(client.wait_for_channel_state(vanta::GrpcClientBase::ConnectivityState::Idle, 5s));
    EXPECT_LT(since(start), 500ms);
    EXPECT_EQ(client.channel_state(), vanta::GrpcClientBase::ConnectivityState::Idle);
    EXPECT_EQ(client.try_connect(), vanta::GrpcClientBase::ConnectivityState::Idle);
    client.set_caller("VantaApi");
    EXPECT_EQ(client.get_caller(), "");
}

}  // namespace
