#include "pubsub/subscription_event_handler_impl.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/grpc_subscriber.h"
#include "pubsub/log_wait.h"
#include "pubsub/subscriber_impl.h"
#include "sim/bus_broker.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"

namespace vanta::pubsub {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using vanta::sim::BusBroker;
using vanta::testing::RecordingLogger;
using vanta::testing::TempDir;

// Restarts go at 100 ms with up to a second of connecting each, so a broker
// coming back is seen well within this.
constexpr std::chrono::seconds kRecoveryLimit{10};
// stop() must not wait for a reconnection attempt to run its course.
constexpr std::chrono::seconds kStopLimit{2};

PubSubMsg make_msg(const std::string& topic, int event) {
    PubSubMsg message;
    message.set_topic(topic);
    message.set_event(event);
    return message;
}

// The handler's callback: keeps what it is given and on which thread.
class Inbox {
  public:
    std::function<void(const PubSubMessage&)> callback() {
        return [this](const PubSubMessage& message) {
            std::lock_guard<std::mutex> lock(mutex_);
            messages_.push_back(message.msg());
            threads_.push_back(std::this_thread::get_id());
            arrived_.notify_all();
        };
    }
    bool wait_for(size_t count, std::chrono::milliseconds limit = kRecoveryLimit) {
        std::unique_lock<std::mutex> lock(mutex_);
        return arrived_.wait_for(lock, limit, [&] { return messages_.size() >= count; });
    }
    std::vector<PubSubMsg> messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }
    std::vector<std::thread::id> threads() {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<PubSubMsg> messages_;
    std::vector<std::thread::id> threads_;
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

TEST_F(SubscriptionEventHandlerTest, DeliversMessagesInOrderOnItsOwnThread) {
    start_broker();
    ASSERT_TRUE(handler_.subscribe({"UpgradeEvent", "UiMuteEvent"}));
    handler_.start(inbox_.callback());
    for (int event = 0; event < 10; ++event) {
        broker_->deliver(make_msg(event % 2 == 0 ? "UpgradeEvent" : "UiMuteEvent", event));
    }

    ASSERT_TRUE(inbox_.wait_for(10));
    std::vector<int> events;
    for (const auto& message : inbox_.messages()) {
        events.push_back(message.event());
    }
    EXPECT_THAT(events, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));
    EXPECT_NE(inbox_.threads().front(), std::this_thread::get_id());
}

TEST_F(SubscriptionEventHandlerTest, EventsFlowOnceAnAbsentBrokerComesUp) {
    EXPECT_FALSE(handler_.subscribe({"UiVolumeEvent"}));
    handler_.start(inbox_.callback());
    ASSERT_TRUE(wait_for_log_line(log_, "E Subscriber::Reader need restarted..."));

    start_broker();
    // As the API service does at start-up: retry until the bus takes it.
    const auto deadline = std::chrono::steady_clock::now() + kRecoveryLimit;
    bool subscribed = false;
    while (!subscribed && std::chrono::steady_clock::now() < deadline) {
        subscribed = handler_.subscribe({"UiVolumeEvent"});
        if (!subscribed) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ASSERT_TRUE(subscribed);
    broker_->deliver(make_msg("UiVolumeEvent", 1));

    ASSERT_TRUE(inbox_.wait_for(1));
    EXPECT_EQ(inbox_.messages().front().topic(), "UiVolumeEvent");
    EXPECT_GE(log_.count("I Restarting Subscriber ..."), 1u);
}

TEST_F(SubscriptionEventHandlerTest, BrokerRestartResubscribesTheAcceptedTopicsInOrder) {
    start_broker();
    broker_->refuse_topic("ManualPairEvent");
    ASSERT_TRUE(handler_.subscribe({"WifiConnectionEvent", "UpgradeEvent"}));
    ASSERT_FALSE(handler_.subscribe({"ManualPairEvent"}));
    ASSERT_TRUE(handler_.subscribe({"APModeEvent"}));
    handler_.start(inbox_.callback());
    broker_->deliver(make_msg("UpgradeEvent", 1));
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

        broker_->deliver(make_msg("APModeEvent", 1 + restart));
        ASSERT_TRUE(inbox_.wait_for(1u + restart));
        EXPECT_EQ(inbox_.messages().back().event(), 1 + restart);
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
    broker_->deliver(make_msg("UiMuteEvent", 1));
    EXPECT_FALSE(inbox_.wait_for(1, std::chrono::milliseconds(200)));
    EXPECT_EQ(log_.count("I Restarting Subscriber ..."), 0u);
}

TEST_F(SubscriptionEventHandlerTest, StopEndsReconnectionPromptly) {
    handler_.start(inbox_.callback());
    ASSERT_TRUE(wait_for_log_line(log_, "I Restarting Subscriber ..."));

    const auto before = std::chrono::steady_clock::now();
    handler_.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, kStopLimit);
}

TEST_F(SubscriptionEventHandlerTest, StartingTwiceIsRefused) {
    start_broker();
    handler_.start(inbox_.callback());
    EXPECT_THROW(handler_.start(inbox_.callback()), std::logic_error);
}

}  // namespace
}  // namespace vanta::pubsub
