// The bus subscriber, and the handler that reads from it on a thread of its
// own, against a broker on a temporary socket.
#include "pubsub/subscription_event_handler_impl.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/grpc_subscriber.h"
#include "pubsub/subscriber_impl.h"
#include "sim/bus_broker.h"
#include "support/bus_translation_table.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/told.h"
#include "support/wait_until.h"

namespace vanta::pubsub {
namespace {

using ::testing::ElementsAre;
using vanta::sim::BusBroker;
using vanta::testing::bus_message;
using vanta::testing::on;
using vanta::testing::RecordingLogger;
using vanta::testing::TempDir;

// Restarts go at 100 ms with up to a second of connecting each, so a broker
// coming back is seen well within this.
constexpr std::chrono::seconds kRecoveryLimit{10};
// stop() must not wait for a reconnection attempt to run its course.
constexpr std::chrono::seconds kStopLimit{2};

// Whether `log` holds a line beginning with `prefix` within 5 s.
bool wait_for_log_line(const RecordingLogger& log, const std::string& prefix) {
    return vanta::testing::wait_until(
        [&] {
            const auto lines = log.lines();
            return std::any_of(lines.begin(), lines.end(),
                               [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        },
        std::chrono::seconds(5));
}

// The handler's callback: tells "<topic> <event>" of each message and keeps
// the thread it ran on.
class Inbox : public vanta::testing::Told {
  public:
    std::function<void(const PubSubMessage&)> callback() {
        return [this](const PubSubMessage& message) {
            thread = std::this_thread::get_id();
            add(message.msg().topic() + " " + std::to_string(message.msg().event()));
        };
    }
    std::atomic<std::thread::id> thread;
};

class SubscriptionEventHandlerTest : public ::testing::Test {
  protected:
    void start_broker() { broker_ = std::make_unique<BusBroker>(address_); }
    // A restarted broker daemon: a new one, knowing no subscribers, on the same socket.
    void restart_broker() {
        broker_.reset();
        start_broker();
    }

    TempDir dir_;
    std::string address_ = dir_.socket_address("bus");
    std::unique_ptr<BusBroker> broker_;
    RecordingLogger log_;
    Inbox inbox_;
    SubscriptionEventHandlerImpl handler_{std::make_unique<SubscriberImpl>(
        "VantaApi", std::make_unique<GrpcSubscriber>(address_, "VantaApi", log_))};
};

// A second start is refused.
TEST_F(SubscriptionEventHandlerTest, DeliversMessagesInOrderOnItsOwnThread) {
    start_broker();
    ASSERT_TRUE(handler_.subscribe({"UpgradeEvent", "UiMuteEvent"}));
    handler_.start(inbox_.callback());
    EXPECT_THROW(handler_.start(inbox_.callback()), std::logic_error);
    std::vector<std::string> sent;
    for (int event = 0; event < 10; ++event) {
        const auto row = on(event % 2 == 0 ? "UpgradeEvent" : "UiMuteEvent", event);
        broker_->deliver(bus_message(row));
        sent.push_back(row.topic + " " + std::to_string(event));
    }

    ASSERT_TRUE(inbox_.wait_for(10));
    EXPECT_EQ(inbox_.seen(), sent);
    EXPECT_NE(inbox_.thread.load(), std::this_thread::get_id());
}

TEST_F(SubscriptionEventHandlerTest, EventsFlowOnceAnAbsentBrokerComesUp) {
    EXPECT_FALSE(handler_.subscribe({"UiVolumeEvent"}));
    handler_.start(inbox_.callback());
    ASSERT_TRUE(wait_for_log_line(log_, "E Subscriber::Reader need restarted..."));

    start_broker();
    // As the API service does at start-up: retry until the bus takes it.
    ASSERT_TRUE(vanta::testing::wait_until([&] { return handler_.subscribe({"UiVolumeEvent"}); },
                                           kRecoveryLimit));
    broker_->deliver(bus_message(on("UiVolumeEvent", 1)));

    ASSERT_TRUE(inbox_.wait_for(1));
    EXPECT_THAT(inbox_.seen(), ElementsAre("UiVolumeEvent 1"));
    EXPECT_GE(log_.count("I Restarting Subscriber ..."), 1u);
}

TEST_F(SubscriptionEventHandlerTest, BrokerRestartResubscribesTheAcceptedTopicsInOrder) {
    start_broker();
    broker_->refuse_topic("ManualPairEvent");
    ASSERT_TRUE(handler_.subscribe({"WifiConnectionEvent", "UpgradeEvent"}));
    ASSERT_FALSE(handler_.subscribe({"ManualPairEvent"}));
    ASSERT_TRUE(handler_.subscribe({"APModeEvent"}));
    handler_.start(inbox_.callback());
    broker_->deliver(bus_message(on("UpgradeEvent", 1)));
    ASSERT_TRUE(inbox_.wait_for(1));

    // Twice: the topics must be remembered again after the first resubscription.
    for (int restart = 1; restart <= 2; ++restart) {
        SCOPED_TRACE(restart);
        log_.clear();
        restart_broker();
        ASSERT_TRUE(broker_->wait_for_subscribe_calls(1, kRecoveryLimit));
        EXPECT_GE(log_.count("I Restarting Subscriber ..."), 1u);
        const auto calls = broker_->subscribe_calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].subscriber, "VantaApi");
        EXPECT_THAT(calls[0].topics,
                    ElementsAre("WifiConnectionEvent", "UpgradeEvent", "APModeEvent"));

        broker_->deliver(bus_message(on("APModeEvent", 1 + restart)));
        ASSERT_TRUE(inbox_.wait_for(1u + restart));
        EXPECT_EQ(inbox_.seen().back(), "APModeEvent " + std::to_string(1 + restart));
    }
}

TEST_F(SubscriptionEventHandlerTest, StopEndsABlockedReadPromptly) {
    start_broker();
    ASSERT_TRUE(handler_.subscribe({"UiMuteEvent"}));
    handler_.start(inbox_.callback());
    ASSERT_TRUE(broker_->wait_for_open_streams("VantaApi"));

    const auto before = std::chrono::steady_clock::now();
    handler_.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, kStopLimit);

    // Nothing is delivered after stop(), and the stream is closed.
    broker_->deliver(bus_message(on("UiMuteEvent", 1)));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_THAT(inbox_.seen(), ::testing::IsEmpty());
    EXPECT_EQ(log_.count("I Restarting Subscriber ..."), 0u);
}

TEST_F(SubscriptionEventHandlerTest, StopEndsReconnectionPromptly) {
    handler_.start(inbox_.callback());
    ASSERT_TRUE(wait_for_log_line(log_, "I Restarting Subscriber ..."));

    const auto before = std::chrono::steady_clock::now();
    handler_.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, kStopLimit);
}

// The subscriber under the handler.

class GrpcSubscriberTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("subservice");
    BusBroker broker_{address_};
    RecordingLogger log_;
    SubscriberImpl subscriber_{"ui", std::make_unique<GrpcSubscriber>(address_, "ui", log_)};
};

// What the subscriber is subscribed to is the broker's answer. (The subscribe
// call itself is seen in the handler's resubscription above.)
TEST_F(GrpcSubscriberTest, SubscriptionsAreTheBrokersList) {
    ASSERT_TRUE(subscriber_.subscribe({"UiVolumeEvent", "UiMuteEvent"}));
    ASSERT_TRUE(subscriber_.subscribe({"HDMIRxEvent"}));
    EXPECT_THAT(subscriber_.subscriptions(),
                ElementsAre("UiVolumeEvent", "UiMuteEvent", "HDMIRxEvent"));
}

TEST_F(GrpcSubscriberTest, ReadForAnotherSubscriberIsRefused) {
    GrpcSubscriber grpc_subscriber(address_, "ui", log_);
    ReadRequest request;
    request.set_subscriber("camera");
    PubSubMsg message;

    EXPECT_FALSE(grpc_subscriber.read(request, message));
    EXPECT_THAT(log_.lines(), ElementsAre("E Unexpected subscriber name: expected ui got camera"));
    EXPECT_EQ(broker_.open_streams(), 0u);
}

TEST_F(GrpcSubscriberTest, BrokerEndingTheStreamFailsTheRead) {
    auto read = std::async(std::launch::async, [this] {
        PubSubMessage message;
        return subscriber_.read(message);
    });
    ASSERT_TRUE(broker_.wait_for_open_streams("ui"));
    broker_.end_streams();

    EXPECT_FALSE(read.get());
    EXPECT_EQ(log_.count("E Read failed - UNAVAILABLE, error message: the broker ended the stream"),
              1u);
}

TEST_F(GrpcSubscriberTest, StopReadingEndsABlockedReadUntilRestart) {
    ASSERT_TRUE(subscriber_.subscribe({"UiMuteEvent"}));
    // One message first, so that the stream is open when the next read blocks.
    broker_.deliver(bus_message(on("UiMuteEvent", 0)));
    PubSubMessage first;
    ASSERT_TRUE(subscriber_.read(first));
    auto read = std::async(std::launch::async, [this] {
        PubSubMessage message;
        return subscriber_.read(message);
    });
    // Nothing but the stop can end this read; give it time to block.
    ASSERT_EQ(read.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);

    subscriber_.stop_reading();
    EXPECT_FALSE(read.get());
    EXPECT_TRUE(wait_for_log_line(log_, "I reading stream status - CANCELLED, error message: "));
    // A clean stop is no read failure.
    EXPECT_THAT(log_.lines(),
                ::testing::Not(::testing::Contains(::testing::StartsWith("E Read failed"))));

    // Stopped: no new stream is opened behind the caller's back.
    ASSERT_TRUE(broker_.wait_for_closed_streams("ui"));
    broker_.deliver(bus_message(on("UiMuteEvent", 1)));
    const size_t refusals = log_.count("E Subscriber::Reader need restarted...");
    PubSubMessage message;
    EXPECT_FALSE(subscriber_.read(message));
    EXPECT_EQ(log_.count("E Subscriber::Reader need restarted..."), refusals + 1);

    ASSERT_TRUE(subscriber_.restart());
    EXPECT_EQ(log_.count("I Restarting Subscriber ..."), 1u);
    ASSERT_TRUE(subscriber_.read(message));
    EXPECT_EQ(message.event(), 1);
}

TEST(GrpcSubscriberWithoutBroker, ReadAsksForARestart) {
    TempDir dir;
    RecordingLogger log;
    SubscriberImpl subscriber(
        "ui", std::make_unique<GrpcSubscriber>(dir.socket_address("absent"), "ui", log));
    PubSubMessage message;
    EXPECT_FALSE(subscriber.read(message));
    EXPECT_THAT(log.lines(), ElementsAre("E Subscriber::Reader need restarted..."));
    EXPECT_FALSE(subscriber.subscribe({"UiMuteEvent"}));
    EXPECT_FALSE(subscriber.restart());
}

}  // namespace
}  // namespace vanta::pubsub
