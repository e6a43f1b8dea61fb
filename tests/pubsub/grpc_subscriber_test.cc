#include "pubsub/grpc_subscriber.h"

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/log_wait.h"
#include "pubsub/subscriber_impl.h"
#include "sim/bus_broker.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"

namespace vanta::pubsub {
namespace {

using ::testing::ElementsAre;
using vanta::sim::BusBroker;
using vanta::testing::RecordingLogger;
using vanta::testing::TempDir;

PubSubMsg make_msg(const std::string& topic, int event) {
    PubSubMsg message;
    message.set_topic(topic);
    message.set_event(event);
    return message;
}

class GrpcSubscriberTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("subservice");
    BusBroker broker_{address_};
    RecordingLogger log_;
    SubscriberImpl subscriber_{"ui", std::make_unique<GrpcSubscriber>(address_, "ui", log_)};
};

TEST_F(GrpcSubscriberTest, SubscribesUnderItsNameWithTheTopicsInOrder) {
    ASSERT_TRUE(subscriber_.subscribe({"UiVolumeEvent", "UiMuteEvent"}));
    ASSERT_TRUE(subscriber_.subscribe({"HDMIRxEvent"}));

    const auto calls = broker_.subscribe_calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].subscriber, "ui");
    EXPECT_THAT(calls[0].topics, ElementsAre("UiVolumeEvent", "UiMuteEvent"));
    EXPECT_THAT(subscriber_.subscriptions(),
                ElementsAre("UiVolumeEvent", "UiMuteEvent", "HDMIRxEvent"));
}

TEST_F(GrpcSubscriberTest, ReadsTheMessagesOfItsTopicsInOrder) {
    ASSERT_TRUE(subscriber_.subscribe({"UiVolumeEvent", "UiMuteEvent"}));
    broker_.deliver(make_msg("UiMuteEvent", 1));
    broker_.deliver(make_msg("UpgradeEvent", 2));
    broker_.deliver(make_msg("UiVolumeEvent", 3));

    PubSubMessage first;
    PubSubMessage second;
    ASSERT_TRUE(subscriber_.read(first));
    ASSERT_TRUE(subscriber_.read(second));
    EXPECT_EQ(first.topic(), "UiMuteEvent");
    EXPECT_EQ(first.event(), 1);
    EXPECT_EQ(second.topic(), "UiVolumeEvent");
    EXPECT_EQ(second.event(), 3);
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
    broker_.deliver(make_msg("UiMuteEvent", 0));
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
    broker_.deliver(make_msg("UiMuteEvent", 1));
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
