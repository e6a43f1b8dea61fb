#include "sim/bus_broker.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "support/bus_translation_table.h"
#include "support/named_calls.h"
#include "support/temp_dir.h"

namespace vanta::sim {
namespace {

using ::testing::ElementsAre;
using vanta::pubsub::PublishRequest;
using vanta::pubsub::PubSubMsg;
using vanta::testing::TempDir;

PubSubMsg message(int event) {
    return vanta::testing::from_text<PubSubMsg>("topic: 'UiVolumeEvent' event: " +
                                                std::to_string(event));
}

std::vector<int> events(const std::vector<PublishRequest>& requests) {
    std::vector<int> found;
    for (const auto& request : requests) {
        found.push_back(request.data().event());
    }
    return found;
}

// A simulator runs for hours: what the broker keeps must not grow with time.
class BusBrokerMemoryTest : public ::testing::Test {
  protected:
    BusBrokerMemoryTest() { broker_.serve(address_); }

    void publish(int event) {
        EXPECT_EQ(vanta::testing::call_named(
                      channel_, "vanta.pubsub.PublishService.Publish",
                      "data { topic: 'UiVolumeEvent' event: " + std::to_string(event) + " }"),
                  "success: true");
    }
    void subscribe(const std::string& subscriber) {
        EXPECT_EQ(
            vanta::testing::call_named(channel_, "vanta.pubsub.SubscribeService.Subscribe",
                                       "subscriber: '" + subscriber + "' topics: 'UiVolumeEvent'"),
            "success: true");
    }

    // The first message of a Read stream of `subscriber`, which then goes.
    PubSubMsg read_one(const std::string& subscriber) {
        vanta::pubsub::ReadRequest request;
        request.set_subscriber(subscriber);
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(5));
        auto reader = subscriber_->Read(&context, request);
        PubSubMsg message;
        EXPECT_TRUE(reader->Read(&message));
        context.TryCancel();
        reader->Finish();
        return message;
    }

    TempDir dir_;
    std::string address_ = dir_.socket_address("bus");
    BusBroker broker_{BusBroker::Limits{3, 2}};
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(address_, grpc::InsecureChannelCredentials());
    std::unique_ptr<vanta::pubsub::SubscribeService::Stub> subscriber_ =
        vanta::pubsub::SubscribeService::NewStub(channel_);
};

TEST_F(BusBrokerMemoryTest, RecordsKeepOnlyTheLastCallsButCountThemAll) {
    for (int event = 1; event <= 5; ++event) {
        publish(event);
        subscribe("ui-" + std::to_string(event));
    }

    EXPECT_THAT(events(broker_.publish_requests()), ElementsAre(3, 4, 5));
    EXPECT_EQ(broker_.subscribe_calls().size(), 3u);
    EXPECT_TRUE(broker_.wait_for_publish_requests(5, std::chrono::milliseconds(0)));
    size_t seen = 1;
    EXPECT_THAT(events(broker_.publish_requests_after(seen)), ElementsAre(3, 4, 5));
    EXPECT_EQ(seen, 5u);
    publish(6);
    EXPECT_THAT(events(broker_.publish_requests_after(seen)), ElementsAre(6));
}

TEST_F(BusBrokerMemoryTest, ASubscriberThatStopsReadingKeepsOnlyItsNewestMessages) {
    subscribe("gone");
    // A backend's announcement, published inside the process, is delivered as
    // a client's publish is; the subscriber reads it once, then goes away.
    PublishRequest announcement;
    *announcement.mutable_data() = message(1);
    broker_.publish(announcement);
    EXPECT_EQ(read_one("gone").ShortDebugString(), "topic: \"UiVolumeEvent\" event: 1");
    ASSERT_TRUE(broker_.wait_for_closed_streams("gone"));

    for (int event = 2; event <= 6; ++event) {
        broker_.deliver(message(event));
    }
    EXPECT_EQ(broker_.queued_messages("gone"), 2u);
    // Should it come back, it is given the newest.
    EXPECT_EQ(read_one("gone").event(), 5);
}

}  // namespace
}  // namespace vanta::sim
