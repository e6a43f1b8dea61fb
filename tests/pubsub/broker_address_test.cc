// These cases use the daemon's fixed sockets in /tmp; they run with a private
// /tmp of their own.
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/publisher_factory.h"
#include "pubsub/subscriber_factory.h"
#include "pubsub/subscription_event_handler_factory.h"
#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "sim/service_registry.h"
#include "support/bus_translation_table.h"
#include "support/temp_dir.h"

namespace vanta::pubsub {
namespace {

using ::testing::ElementsAre;
using vanta::sim::BackendServer;
using vanta::sim::BusBroker;
using vanta::testing::TempDir;

// A message of a topic the API service publishes.
PubSubMessage mute_event() {
    return PubSubMessage(vanta::testing::bus_message(vanta::testing::on("UiMuteEvent", 1)));
}

class BrokerAddressTest : public ::testing::Test {
  protected:
    BusBroker publish_broker_{"unix:/tmp/pubservice"};
    BusBroker subscribe_broker_{"unix:/tmp/subservice"};
};

TEST_F(BrokerAddressTest, WithoutRegistryPublishingUsesTmpPubserviceAndSubscribingTmpSubservice) {
    ASSERT_TRUE(create_publisher_client("VantaApi")->Publish(mute_event()));
    ASSERT_TRUE(create_subscriber("VantaApi")->subscribe({"UiMuteEvent"}));
    const auto handler = create_subscription_event_handler("camera");
    ASSERT_TRUE(handler->subscribe({"HDMIRxEvent"}));

    EXPECT_EQ(publish_broker_.publish_requests().size(), 1u);
    EXPECT_TRUE(subscribe_broker_.publish_requests().empty());
    EXPECT_THAT(subscribe_broker_.subscriptions("VantaApi"), ElementsAre("UiMuteEvent"));
    EXPECT_THAT(subscribe_broker_.subscriptions("camera"), ElementsAre("HDMIRxEvent"));
    EXPECT_TRUE(publish_broker_.subscribe_calls().empty());
}

TEST_F(BrokerAddressTest, RegistryEntriesComeFirst) {
    TempDir dir;
    const std::string bus_address = dir.socket_address("bus");
    BusBroker registered_broker(bus_address);
    sim::ServiceRegistry registry_service;
    registry_service.add_entry("Publish Service", bus_address);
    registry_service.add_entry("Subscribe Service", bus_address);
    BackendServer registry("unix:/tmp/serviceregistry", {&registry_service});

    ASSERT_TRUE(create_publisher_client("VantaApi")->Publish(mute_event()));
    ASSERT_TRUE(create_subscriber("VantaApi")->subscribe({"UiMuteEvent"}));

    EXPECT_EQ(registered_broker.publish_requests().size(), 1u);
    EXPECT_EQ(registered_broker.subscribe_calls().size(), 1u);
    EXPECT_TRUE(publish_broker_.publish_requests().empty());
    EXPECT_TRUE(subscribe_broker_.subscribe_calls().empty());
}

}  // namespace
}  // namespace vanta::pubsub
