// The API service end to end on its event side: a fake bus broker on the
// bus sockets of a catalogue in a temporary directory, the service hosted
// beside them, and clients on real Subscribe streams. That the service's
// requests go to the catalogue's backends is seen in every test on
// plugins/service_on_backends.h.

#include <unistd.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api/service_constants.h"
#include "plugins/service_on_backends.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using vantaapi::VantaEvent;

const std::string kApiSubscriber = "VantaApi";

// A bus message whose event names `number`: image upgrade progress. Tests
// deliver these as markers to know where they are in a stream.
pubsub::PubSubMsg marker(int number) {
    return from_text<pubsub::PubSubMsg>("topic: 'ImageUpgradeEvent' event: 1 data: '" +
                                        std::to_string(number) + "'");
}

std::vector<int> marker_numbers(const std::vector<VantaEvent>& events) {
    std::vector<int> numbers;
    for (const auto& event : events) {
        if (event.has_image_upgrade_progress()) {
            numbers.push_back(event.image_upgrade_progress().progress());
        }
    }
    return numbers;
}

// The service with the broker already up, and one open event stream that has
// started.
class ApiEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(service_.broker.wait_for_open_streams(kApiSubscriber));
        ASSERT_TRUE(service_.subscribed());
    }

    ConsoleCapture console_;
    ServiceOnBackends service_;
};

// One row of the translation table per topic, the first that publishes where
// one does: the plugin tests own the whole table, this shows each topic's
// road from the broker to a subscriber.
std::map<std::string, Row> one_row_per_topic() {
    std::map<std::string, Row> chosen;
    for (Row& row : translation_table()) {
        if (row.raises != Raises::nothing) {
            continue;  // these end the daemon: see the daemon tests
        }
        Row& kept = chosen[row.topic];
        if (kept.topic.empty() || (kept.published.empty() && !row.published.empty())) {
            kept = std::move(row);
        }
    }
    return chosen;
}

TEST_F(ApiEventsTest, EachTopicsBusMessageReachesSubscribersAsItsEvent) {
    // Each row's message is followed by a marker numbered as the row, so a
    // row that publishes nothing shows as two markers in a row.
    std::vector<std::string> expected;
    int number = 0;
    const auto rows = one_row_per_topic();
    for (const auto& [topic, row] : rows) {
        for (const std::string& event : {row.published, "image_upgrade_progress { progress: " +
                                                            std::to_string(number) + " }"}) {
            if (!event.empty()) {
                expected.push_back(from_text<VantaEvent>(event).ShortDebugString());
            }
        }
        service_.broker.deliver(bus_message(row));
        service_.broker.deliver(marker(number++));
    }

    std::vector<std::string> received;
    for (const auto& event : service_.published(expected.size())) {
        received.push_back(event.ShortDebugString());
    }
    EXPECT_EQ(received, expected);
    // Every topic that the service subscribes to was exercised.
    for (const auto& topic : kPubSubEventTopics) {
        EXPECT_EQ(rows.count(topic), 1u) << topic << " has no row";
    }
}

// A message on a topic that no plugin handles, and one whose text is not
// UTF-8 and so does not decode as the bus's message: each is dropped with one
// line, and the bus stream carries the next message.
TEST_F(ApiEventsTest, MessagesTheServiceCannotUseAreDroppedWithOneLineEach) {
    service_.broker.deliver_to(kApiSubscriber,
                               from_text<pubsub::PubSubMsg>("topic: 'LightingEvent' event: 1"));
    pubsub::PubSubMsg volume = from_text<pubsub::PubSubMsg>("topic: 'UiVolumeEvent' event: 1");
    volume.set_data("\xff\xfe 35");
    service_.broker.deliver(volume);
    service_.broker.deliver(marker(0));

    EXPECT_EQ(marker_numbers(service_.published(1)), std::vector<int>{0});
    EXPECT_EQ(console_.count("VantaApi W: Unhandled Event LightingEvent"), 1u);
    EXPECT_EQ(console_.count("Dropped a bus message that does not decode"), 1u);
}

// Published under the process id (an empty publisher name); UNKNOWN publishes
// nothing.
TEST_F(ApiEventsTest, WakeUpPublishesItsTriggerAndStandbyItsReason) {
    for (const std::string trigger : {"BUTTON", "UNKNOWN", "TOUCH_SCREEN"}) {
        EXPECT_EQ(service_.call("UXWakeUp", "trigger: " + trigger).response, "success: true");
    }
    ASSERT_TRUE(service_.call("UXStandby").status.ok());

    ASSERT_TRUE(service_.broker.wait_for_publish_requests(3));
    std::vector<std::string> published;
    for (auto request : service_.broker.publish_requests()) {
        request.mutable_data()->clear_event_name();  // the publisher's (pubsub tests)
        published.push_back(request.ShortDebugString());
    }
    const std::string author = "author: \"" + std::to_string(getpid()) + "\" ";
    EXPECT_THAT(
        published,
        ElementsAre(author + "data { topic: \"UXWakeUpEvent\" data: \"BUTTON\" event: 1 }",
                    author + "data { topic: \"UXWakeUpEvent\" data: \"TOUCH_SCREEN\" event: 2 }",
                    author + "data { topic: \"UXStandbyEvent\" data: \"MANAUL_STANDBY\" }"));
}

TEST(ApiStartup, RequestsAreServedWhileTheBrokerIsDownAndEventsFlowOnceItIsUp) {
    TempDir dir;
    const EndpointCatalogue endpoints = endpoints_in_directory(dir.path().string());
    ApiHarness api(dir.socket_address("vantaapi_service"), endpoints);
    auto stub = api.client();
    // Served on the gRPC threads: an operation the service does not implement
    // answers with the generated default.
    const auto channel = grpc::CreateChannel(dir.socket_address("vantaapi_service"),
                                             grpc::InsecureChannelCredentials());
    EXPECT_EQ(call_api(*channel, "GetWifiSignalLevel", "").status.error_code(),
              grpc::StatusCode::UNIMPLEMENTED);
    EventStream stream(*stub);
    ASSERT_EQ(stream.wait_for(1).size(), 1u);

    sim::BusBroker broker({endpoints.pubservice.address, endpoints.subservice.address});
    ASSERT_TRUE(broker.wait_for_open_streams(kApiSubscriber));
    EXPECT_THAT(broker.subscriptions(kApiSubscriber), ElementsAreArray(kPubSubEventTopics));
    broker.deliver(marker(7));
    EXPECT_EQ(marker_numbers(stream.wait_for(2)), std::vector<int>{7});
}

}  // namespace
}  // namespace vanta::testing
