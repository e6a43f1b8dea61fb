// The API service end to end on its event side: a fake bus broker on the
// device's fixed bus sockets, the service hosted on its fixed socket, and
// clients on real Subscribe streams. Every case runs in a private /tmp.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/util/message_differencer.h>
#include <gtest/gtest.h>

#include "api/service_constants.h"
#include "api/vantaapi_service.h"
#include "api_harness.h"
#include "sim/bus_broker.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAreArray;
using vantaapi::VantaEvent;

const std::string kApiSubscriber = "VantaApi";

// A bus message whose event names `number`: image upgrade progress. Tests
// deliver these as markers to know where they are in a stream.
pubsub::PubSubMsg marker(int number) {
    pubsub::PubSubMsg message;
    message.set_topic("ImageUpgradeEvent");
    message.set_event(1);
    message.set_data(std::to_string(number));
    return message;
}

VantaEvent marker_event(int number) {
    VantaEvent event;
    event.mutable_image_upgrade_progress()->set_progress(number);
    return event;
}

bool is_stream_started(const VantaEvent& event) {
    return event.has_subscription_status() &&
           event.subscription_status().status() ==
               vantaapi::VantaApiSubscriptionStatus::STREAM_STARTED;
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
// seen its STREAM_STARTED.
class ApiEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        broker_.emplace(sim::BusBroker::kDeviceAddresses);
        api_.emplace();
        ASSERT_TRUE(broker_->wait_for_open_streams(kApiSubscriber));
        stub_ = api_->client();
        stream_.emplace(*stub_);
        ASSERT_EQ(stream_->wait_for(1).size(), 1u);
    }
    void TearDown() override {
        stream_.reset();
        api_.reset();
        broker_.reset();
    }

    ConsoleCapture console_;
    std::optional<sim::BusBroker> broker_;
    std::optional<ApiHarness> api_;
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_;
    std::optional<EventStream> stream_;
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
        const auto found = chosen.find(row.topic);
        if (found == chosen.end()) {
            chosen.emplace(row.topic, std::move(row));
        } else if (found->second.published.empty() && !row.published.empty()) {
            found->second = std::move(row);
        }
    }
    return chosen;
}

TEST_F(ApiEventsTest, EachTopicsBusMessageReachesSubscribersAsItsEvent) {
    // Each row's message is followed by a marker, so a row that publishes
    // nothing shows as two markers in a row.
    struct Expected {
        std::string row;
        VantaEvent event;
    };
    std::vector<Expected> expected;
    int number = 0;
    const auto rows = one_row_per_topic();
    for (const auto& [topic, row] : rows) {
        const std::string label =
            topic + " event " + std::to_string(row.event) + " data \"" + row.data + "\"";
        if (!row.published.empty()) {
            expected.push_back({label, from_text<VantaEvent>(row.published)});
        }
        expected.push_back({label + " (marker)", marker_event(number)});
        broker_->deliver(bus_message(row));
        broker_->deliver(marker(number++));
    }

    const auto events = stream_->wait_for(1 + expected.size());
    ASSERT_EQ(events.size(), 1 + expected.size());
    EXPECT_TRUE(is_stream_started(events[0]));
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(
            google::protobuf::util::MessageDifferencer::Equals(expected[i].event, events[i + 1]))
            << "after " << expected[i].row << "\nexpected: " << expected[i].event.ShortDebugString()
            << "\nreceived: " << events[i + 1].ShortDebugString();
    }
    // Every topic that the service subscribes to was exercised.
    for (const auto& topic : kPubSubEventTopics) {
        EXPECT_EQ(rows.count(topic), 1u) << topic << " has no row";
    }
}

TEST_F(ApiEventsTest, MessageOnATopicWithoutHandlerIsDroppedWithOneWarning) {
    pubsub::PubSubMsg stray;
    stray.set_topic("LightingEvent");
    stray.set_event(1);
    broker_->deliver_to(kApiSubscriber, stray);
    broker_->deliver(marker(0));

    const auto events = stream_->wait_for(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(marker_numbers(events), std::vector<int>{0});
    const auto lines = console_.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "VantaApi W: Unhandled Event LightingEvent"),
              1);
}

// A bus message whose text is not UTF-8 does not decode as the bus's message:
// it is dropped with an error line, and the bus stream carries the next one.
TEST_F(ApiEventsTest, ABusMessageThatDoesNotDecodeIsDropped) {
    pubsub::PubSubMsg volume;
    volume.set_topic("UiVolumeEvent");
    volume.set_event(1);
    volume.set_data("\xff\xfe 35");
    broker_->deliver(volume);
    broker_->deliver(marker(0));

    const auto events = stream_->wait_for(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(marker_numbers(events), std::vector<int>{0});
    const auto lines = console_.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("Dropped a bus message that does not decode") !=
                                       std::string::npos;
                            }),
              1);
}

// Only a request that says so ends a stream; how the events queued before it
// are still written is the server stream's (rpc/server tests).
TEST_F(ApiEventsTest, UnsubscribingEndsTheStream) {
    stream_->send_unsubscribe(false);
    broker_->deliver(marker(0));
    ASSERT_EQ(marker_numbers(stream_->wait_for(2)), std::vector<int>{0});
    stream_->send_unsubscribe(true);
    const grpc::Status status = stream_->finish();
    EXPECT_TRUE(status.ok()) << status.error_message();
}

TEST_F(ApiEventsTest, WakeUpPublishesItsTriggerAndStandbyItsReason) {
    const std::string pid = std::to_string(getpid());
    auto wake_up = [&](vantaapi::UXWakeUpRequest::source trigger) {
        grpc::ClientContext context;
        vantaapi::UXWakeUpRequest request;
        request.set_trigger(trigger);
        vantaapi::RequestStatus response;
        const grpc::Status status = stub_->UXWakeUp(&context, request, &response);
        EXPECT_TRUE(status.ok()) << status.error_message();
        EXPECT_TRUE(response.success());
    };
    wake_up(vantaapi::UXWakeUpRequest::BUTTON);
    wake_up(vantaapi::UXWakeUpRequest::UNKNOWN);
    wake_up(vantaapi::UXWakeUpRequest::TOUCH_SCREEN);
    grpc::ClientContext context;
    google::protobuf::Empty empty;
    ASSERT_TRUE(stub_->UXStandby(&context, empty, &empty).ok());

    // UNKNOWN published nothing: three requests, in call order.
    ASSERT_TRUE(broker_->wait_for_publish_requests(3));
    const auto requests = broker_->publish_requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.author(), pid) << "an empty publisher name stands for the pid";
    }
    EXPECT_EQ(requests[0].data().topic(), "UXWakeUpEvent");
    EXPECT_EQ(requests[0].data().data(), "BUTTON");
    EXPECT_EQ(requests[0].data().event(), 1);
    EXPECT_EQ(requests[1].data().topic(), "UXWakeUpEvent");
    EXPECT_EQ(requests[1].data().data(), "TOUCH_SCREEN");
    EXPECT_EQ(requests[1].data().event(), 2);
    EXPECT_EQ(requests[2].data().topic(), "UXStandbyEvent");
    EXPECT_EQ(requests[2].data().data(), "MANAUL_STANDBY");
}

TEST(ApiStartup, RequestsAreServedWhileTheBrokerIsDownAndEventsFlowOnceItIsUp) {
    ApiHarness api;
    auto stub = api.client();
    // Served on the gRPC threads at once: an operation the service does not
    // implement answers with the generated default.
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 2s);
    google::protobuf::Empty request;
    vantaapi::WifiSignalLevel response;
    EXPECT_EQ(stub->GetWifiSignalLevel(&context, request, &response).error_code(),
              grpc::StatusCode::UNIMPLEMENTED);
    EventStream stream(*stub);
    ASSERT_EQ(stream.wait_for(1).size(), 1u);

    sim::BusBroker broker(sim::BusBroker::kDeviceAddresses);
    ASSERT_TRUE(broker.wait_for_open_streams(kApiSubscriber));
    EXPECT_THAT(broker.subscriptions(kApiSubscriber), ElementsAreArray(kPubSubEventTopics));
    broker.deliver(marker(7));
    EXPECT_EQ(marker_numbers(stream.wait_for(2)), std::vector<int>{7});
}

}  // namespace
}  // namespace vanta::testing
