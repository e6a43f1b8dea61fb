// The backend event-stream mechanism: the stream manager and the observable
// client that every observable backend client is, against real gRPC servers
// on temporary sockets. The table of the backends
// (tests/clients/observable_clients_test.cc) owns what one observation shows
// through each client: the start and stop words, the ready event and the
// events in order, the refusal of a second observer that leaves the first
// its stream. Here: reconnection, removal, stale work and failures. The stub
// client of the backends this model lacks: clients/substitutes_test.cc.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_observable_client.h"
#include "runtime/executor/waiting_executor.h"
#include "runtime/logging/loggers.h"
#include "sim/backend_server.h"
#include "sim/hang_gate.h"
#include "support/fake_test_service.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/told.h"
#include "support/wait_until.h"
#include "testservice.grpc.pb.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using sim::BackendServer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::ThrowsMessage;
using vanta::test::Event;
using vanta::test::SubscriptionRequest;

class TestClient : public virtual GrpcObservableClientBase<Event> {};

// The observable client of the test backend, written the way the daemon's
// backend clients are. The backend announces its stream with an event
// "started"; an event "unreadable" is one the client cannot make sense of.
class TestClientImpl final : public GrpcObservableClient<vanta::test::TestService, TestClient,
                                                         SubscriptionRequest, Event, Event> {
  public:
    TestClientImpl(const std::string& address, Executor& executor, logging::Logger& logger)
        : GrpcObservableClient(address, &executor, logger, "test::SetObserver",
                               unsubscribe_words<SubscriptionRequest>()) {}
    ~TestClientImpl() override { close_stream(); }

  private:
    void observed_event_handler(const EventHandler& on_event, const Notification& on_ready,
                                const Event& event) override {
        if (event.text() == "unreadable") {
            throw std::runtime_error("unreadable event");
        }
        forward(on_event, on_ready, event, event.text() == "started");
    }
};

// Collects what an observer is told, in order: each event's text, "ready",
// and "stream end".
class EventRecorder : public Told {
  public:
    std::function<void(const Event&)> on_event() {
        return [this](const Event& event) { add(event.text()); };
    }
    std::function<void()> on_ready() {
        return [this] { add("ready"); };
    }
    std::function<void()> on_stream_end() {
        return [this] { add("stream end"); };
    }
};

// --- The stream manager on its own -------------------------------------------

TEST(GrpcClientBidiStreamManager, RefusesNoAllocatorAndDestroyedWhileWaitingStopsWithinASecond) {
    using TestStreamManager = GrpcClientBidiStreamManager<SubscriptionRequest, Event>;
    TempDir dir;
    const std::string address = dir.socket_address("backend");
    auto channel = std::make_shared<GrpcClientChannel>(address, grpc::InsecureChannelCredentials());
    EXPECT_THAT([&] { TestStreamManager(channel, nullptr, nullptr, nullptr); },
                ThrowsMessage<std::invalid_argument>(
                    "GrpcClientBidiStreamManager: stream_allocator == nullptr"));

    // Nothing serves the address: the manager waits for the backend.
    auto stub = vanta::test::TestService::NewStub(
        grpc::CreateChannel(address, grpc::InsecureChannelCredentials()));
    EventRecorder recorder;
    auto manager = std::make_unique<TestStreamManager>(
        channel, [&stub](grpc::ClientContext* context) { return stub->Subscribe(context); },
        recorder.on_event(), recorder.on_stream_end());
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(manager->is_open());
    EXPECT_FALSE(manager->write(SubscriptionRequest()));
    const auto start = std::chrono::steady_clock::now();
    manager.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_THAT(recorder.seen(), ElementsAre("stream end"));
}

// --- The observable client -----------------------------------------------------

class ObservableClient : public ::testing::Test {
  protected:
    ObservableClient() : executor_(logging::getNullLogger()) {}

    void observe() { client_->SetObserver(recorder_.on_event(), recorder_.on_ready()); }
    void start_backend() {
        server_.emplace(address_, std::initializer_list<grpc::Service*>{&backend_});
    }
    // The executor's queue, driven by the test the way the main loop drives it.
    unsigned queued() {
        std::lock_guard<std::mutex> lock(executor_.queue_mutex());
        return executor_.size();
    }
    bool wait_for_queued(unsigned count) {
        return wait_until([&] { return queued() >= count; }, 5s);
    }
    WaitingExecutor::ContextualWorkItem take() {
        std::lock_guard<std::mutex> lock(executor_.queue_mutex());
        return executor_.fetch_work();
    }
    // Runs the one item that the end of a stream queued: "reconnect_stream",
    // id 0.
    void run_the_reconnection() {
        ASSERT_TRUE(wait_for_queued(1));
        std::this_thread::sleep_for(500ms);
        ASSERT_EQ(queued(), 1u) << "one item per end of a stream";
        WaitingExecutor::ContextualWorkItem item = take();
        EXPECT_EQ(item.name, "reconnect_stream");
        EXPECT_EQ(item.id, 0);
        executor_.process_work(item);
    }

    TempDir dir_;
    std::string address_ = dir_.socket_address("backend");
    FakeTestService backend_;
    std::optional<BackendServer> server_;
    WaitingExecutor executor_;
    RecordingLogger logger_;
    EventRecorder recorder_;
    std::unique_ptr<TestClientImpl> client_ =
        std::make_unique<TestClientImpl>(address_, executor_, logger_);
};

// A backend that starts late is reached soon after its socket appears, and
// every end of its stream queues exactly one reconnection.
TEST_F(ObservableClient, ReachesALateBackendAndReconnectsOncePerEndOfTheStream) {
    observe();
    // Long enough for several failed connection attempts.
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(queued(), 0u);
    start_backend();
    const auto socket_appeared = std::chrono::steady_clock::now();
    ASSERT_TRUE(backend_.wait_for_opened(1));
    EXPECT_LT(std::chrono::steady_clock::now() - socket_appeared, 1000ms);
    // An event the client cannot read is logged and the stream goes on.
    backend_.publish("unreadable");
    backend_.publish("before");
    ASSERT_TRUE(recorder_.wait_for(1));
    EXPECT_EQ(logger_.count("E observed_event_handler: unreadable event"), 1u);

    // The backend dies; it is back by the time the reconnection runs, which
    // uses a new channel.
    server_.reset();
    ASSERT_TRUE(wait_for_queued(1));
    EXPECT_EQ(logger_.count("I reconnect_stream"), 1u);
    start_backend();
    const std::weak_ptr<GrpcClientChannel> old_channel = client_->channel();
    run_the_reconnection();
    EXPECT_TRUE(old_channel.expired());
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    backend_.publish("after");
    ASSERT_TRUE(recorder_.wait_for(2));

    // The backend ends the stream itself: again exactly one.
    backend_.close_streams();
    run_the_reconnection();
    ASSERT_TRUE(backend_.wait_for_opened(3));
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    backend_.publish("again");
    ASSERT_TRUE(recorder_.wait_for(3));
    EXPECT_THAT(recorder_.seen(), ElementsAre("before", "after", "again"));
    EXPECT_EQ(logger_.count("I reconnect_stream"), 2u);
}

TEST_F(ObservableClient, AfterRemoveObserverNothingFollowsAndAHangingBackendIsCancelled) {
    start_backend();
    observe();
    ASSERT_TRUE(backend_.wait_for_journal(1));
    client_->RemoveObserver();
    // The words and the half-close are the backend table's; here, that
    // nothing follows.
    ASSERT_TRUE(backend_.wait_for_journal(3));
    backend_.publish("too late");
    server_.reset();
    std::this_thread::sleep_for(500ms);
    EXPECT_THAT(recorder_.seen(), IsEmpty());
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(logger_.count("I reconnect_stream"), 0u);

    // Observing may start again; a backend that then does not end the call
    // after the half-close (its write hangs) has it cancelled within a second.
    sim::HangGate hung;
    BackendServer server({address_}, {&backend_}, hung.interceptors());
    observe();
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    hung.hold();
    backend_.publish("held");
    const auto start = std::chrono::steady_clock::now();
    client_->RemoveObserver();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    hung.open();
}

// A reconnection queued for an observation that is no longer current finds
// nothing to do: observation was removed and started again meanwhile, or the
// client is gone.
TEST_F(ObservableClient, AReconnectionQueuedForAnEarlierObservationOrAGoneClientDoesNothing) {
    start_backend();
    observe();
    ASSERT_TRUE(backend_.wait_for_journal(1));
    backend_.close_streams();
    ASSERT_TRUE(wait_for_queued(1));
    WaitingExecutor::ContextualWorkItem stale = take();

    client_->RemoveObserver();
    observe();
    // The first stream's start and end, the second's start.
    ASSERT_TRUE(backend_.wait_for_journal(3));
    const size_t journal = backend_.journal().size();
    executor_.process_work(stale);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(backend_.opened(), 2);
    EXPECT_EQ(backend_.journal().size(), journal);
    backend_.publish("to the current");
    ASSERT_TRUE(recorder_.wait_for(1));
    EXPECT_EQ(queued(), 0u);

    backend_.close_streams();
    ASSERT_TRUE(wait_for_queued(1));
    client_.reset();
    WaitingExecutor::ContextualWorkItem orphan = take();
    executor_.process_work(orphan);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(backend_.opened(), 2);
}

// Reconnection is left to the caller with the three-callback form, and
// impossible without both callbacks of the two-callback one.
TEST_F(ObservableClient, WithoutItsCallbacksTheStreamIsNotSetUpAgain) {
    start_backend();
    client_->SetObserver(recorder_.on_event(), recorder_.on_ready(), recorder_.on_stream_end());
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    backend_.close_streams();
    ASSERT_TRUE(recorder_.wait_for(1));
    client_->RemoveObserver();

    // Events that cannot be handed on are dropped.
    client_->SetObserver(recorder_.on_event(), nullptr);
    ASSERT_TRUE(backend_.wait_for_open_streams(1));
    backend_.publish("nobody hears this");
    ASSERT_TRUE(wait_until(
        [&] {
            return logger_.count(
                       "E observed_event_handler: Unable to handle event, callback is null") == 1;
        },
        5s));
    backend_.close_streams();
    ASSERT_TRUE(wait_until([&] { return logger_.count("E reconnect_stream failed") == 1; }, 5s));
    std::this_thread::sleep_for(500ms);
    EXPECT_THAT(recorder_.seen(), ElementsAre("stream end"));
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(backend_.opened(), 2);
}

}  // namespace
}  // namespace vanta::testing
