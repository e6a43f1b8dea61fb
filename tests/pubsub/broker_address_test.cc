// These cases use the daemon's fixed sockets in /tmp; they run with a private
// /tmp of their own.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/publisher_factory.h"
#include "pubsub/subscriber_factory.h"
#include "pubsub/subscription_event_handler_factory.h"
#include "serviceregistry.grpc.pb.h"
#include "sim/backend_server.h"
#include "sim/bus_broker.h"
#include "support/temp_dir.h"

namespace vanta::pubsub {
namespace {

using ::testing::ElementsAre;
using vanta::sim::BackendServer;
using vanta::sim::BusBroker;
using vanta::testing::TempDir;

// A service registry holding fixed entries.
class FixedRegistry final : public serviceregistry::ServiceRegistryService::Service {
  public:
    explicit FixedRegistry(std::map<std::string, std::string> entries)
        : entries_(std::move(entries)) {}

    grpc::Status GetService(grpc::ServerContext*, const serviceregistry::ServiceRequest* request,
                            serviceregistry::ServiceData* response) override {
        const auto it = entries_.find(request->service());
        if (it == entries_.end()) {
            return {grpc::StatusCode::NOT_FOUND, "no such service"};
        }
        response->set_service(it->first);
        response->set_address(it->second);
        return grpc::Status::OK;
    }

  private:
    const std::map<std::string, std::string> entries_;
};

PubSubMessage make_message() {
    PubSubMessage message;
    message.msg().set_topic("UiMuteEvent");
    message.msg().set_event(1);
    return message;
}

class BrokerAddressTest : public ::testing::Test {
  protected:
    BusBroker publish_broker_{"unix:/tmp/pubservice"};
    BusBroker subscribe_broker_{"unix:/tmp/subservice"};
};

TEST_F(BrokerAddressTest, WithoutRegistryThePublisherUsesTmpPubservice) {
    const auto publisher = create_publisher_client("VantaApi");
    ASSERT_TRUE(publisher->Publish(make_message()));

    EXPECT_EQ(publish_broker_.publish_requests().size(), 1u);
    EXPECT_TRUE(subscribe_broker_.publish_requests().empty());
}

TEST_F(BrokerAddressTest, WithoutRegistryTheSubscriberUsesTmpSubservice) {
    const auto subscriber = create_subscriber("VantaApi");
    ASSERT_TRUE(subscriber->subscribe({"UiMuteEvent"}));
    const auto handler = create_subscription_event_handler("camera");
    ASSERT_TRUE(handler->subscribe({"HDMIRxEvent"}));

    EXPECT_THAT(subscribe_broker_.subscriptions("VantaApi"), ElementsAre("UiMuteEvent"));
    EXPECT_THAT(subscribe_broker_.subscriptions("camera"), ElementsAre("HDMIRxEvent"));
    EXPECT_TRUE(publish_broker_.subscribe_calls().empty());
}

TEST_F(BrokerAddressTest, RegistryEntriesComeFirst) {
    TempDir dir;
    const std::string bus_address = dir.socket_address("bus");
    BusBroker registered_broker(bus_address);
    FixedRegistry registry_service(
        {{"Publish Service", bus_address}, {"Subscribe Service", bus_address}});
    BackendServer registry("unix:/tmp/serviceregistry", {&registry_service});

    ASSERT_TRUE(create_publisher_client("VantaApi")->Publish(make_message()));
    ASSERT_TRUE(create_subscriber("VantaApi")->subscribe({"UiMuteEvent"}));

    EXPECT_EQ(registered_broker.publish_requests().size(), 1u);
    EXPECT_EQ(registered_broker.subscribe_calls().size(), 1u);
    EXPECT_TRUE(publish_broker_.publish_requests().empty());
    EXPECT_TRUE(subscribe_broker_.subscribe_calls().empty());
}

}  // namespace
}  // namespace vanta::pubsub
