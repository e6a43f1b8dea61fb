#include "pubsub/publisher_impl.h"

#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pubsub/grpc_publisher.h"
#include "rpc/client/grpc_exceptions.h"
#include "sim/bus_broker.h"
#include "support/bus_translation_table.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"

namespace vanta::pubsub {
namespace {

using vanta::sim::BusBroker;
using vanta::testing::RecordingLogger;
using vanta::testing::TempDir;

PubSubMessage message(const std::string& text) {
    return PubSubMessage(vanta::testing::from_text<PubSubMsg>(text));
}

class PublisherTest : public ::testing::Test {
  protected:
    std::unique_ptr<PublisherImpl> make_publisher(const std::string& name) {
        return std::make_unique<PublisherImpl>(name,
                                               std::make_unique<GrpcPublisher>(address_, log_));
    }

    TempDir dir_;
    std::string address_ = dir_.socket_address("pubservice");
    BusBroker broker_{address_};
    RecordingLogger log_;
};

// The whole message under the given name, or the process id; a missing event
// name is the event number as unsigned text.
TEST_F(PublisherTest, SendsTheWholeMessageUnderItsAuthor) {
    const PubSubMessage whole = message(
        "topic: 'UxWakeUp' event: 2 event_name: 'BUTTON_PRESSED' data: 'BUTTON' "
        "attributes { key: 'source' value: 'front' } byte_data: '\\000\\001'");
    ASSERT_TRUE(make_publisher("VantaApi")->Publish(whole));
    ASSERT_TRUE(make_publisher("")->Publish(message("topic: 'UiVolumeEvent' event: 7")));
    ASSERT_TRUE(make_publisher("VantaApi")->Publish(message("topic: 'UiVolumeEvent' event: -1")));

    ASSERT_TRUE(broker_.wait_for_publish_requests(3));
    const auto requests = broker_.publish_requests();
    EXPECT_EQ(requests[0].author(), "VantaApi");
    EXPECT_EQ(requests[0].data().SerializeAsString(), whole.msg().SerializeAsString());
    EXPECT_EQ(requests[1].author(), std::to_string(getpid()));
    EXPECT_EQ(requests[1].data().event_name(), "7");
    EXPECT_EQ(requests[1].data().event(), 7);
    EXPECT_EQ(requests[2].data().event_name(), "4294967295");
}

// A broker's refusal is kept as the last failure reason, unlogged; the timeout
// is the deadline of each call.
TEST_F(PublisherTest, BrokerRefusalIsTheLastFailureReasonAndTimeoutTheDeadlineOfEachCall) {
    auto publisher = make_publisher("VantaApi");
    broker_.refuse_publish("queue full");
    EXPECT_FALSE(publisher->Publish(message("topic: 'UiMuteEvent' event: 1")));
    EXPECT_EQ(publisher->GetLastFailureReason(), "queue full");
    EXPECT_TRUE(log_.lines().empty());

    broker_.refuse_publish("");
    publisher->set_timeout(std::chrono::milliseconds(50));
    broker_.delay_publish(std::chrono::milliseconds(1000));

    EXPECT_FALSE(publisher->Publish(message("topic: 'UiMuteEvent' event: 1")));
    const std::string reason = publisher->GetLastFailureReason();
    EXPECT_EQ(reason.rfind("Grpc Publish failed, grpc error: ", 0), 0u) << reason;
    EXPECT_NE(reason.find(" code: DEADLINE_EXCEEDED"), std::string::npos) << reason;
}

// Every failure is logged; after the codes that leave the broker usable the
// publisher answers false with the reason, after the others it raises.
TEST_F(PublisherTest, FailuresAreLoggedThenAnsweredOrRaisedByTheirCode) {
    using grpc::StatusCode;
    auto publisher = make_publisher("VantaApi");
    // The broker fails the next publishing with `code`; the code's name, as the
    // log and the reason give it.
    const auto fail_with = [&](StatusCode code) {
        broker_.fail_publish(grpc::Status(code, "broker trouble"));
        return GrpcStatusCodeToString(code);
    };
    const auto logged = [&](const std::string& name) {
        return log_.count("E Grpc Publish failed, grpc error: broker trouble, code: " + name);
    };
    for (const StatusCode code :
         {StatusCode::CANCELLED, StatusCode::UNKNOWN, StatusCode::DEADLINE_EXCEEDED,
          StatusCode::UNIMPLEMENTED, StatusCode::INTERNAL, StatusCode::UNAVAILABLE}) {
        const std::string name = fail_with(code);
        SCOPED_TRACE(name);
        EXPECT_FALSE(publisher->Publish(message("topic: 'UiMuteEvent' event: 1")));
        EXPECT_EQ(publisher->GetLastFailureReason(),
                  "Grpc Publish failed, grpc error: broker trouble code: " + name);
        EXPECT_EQ(logged(name), 1u);
    }
    for (const StatusCode code : {StatusCode::INVALID_ARGUMENT, StatusCode::NOT_FOUND,
                                  StatusCode::PERMISSION_DENIED, StatusCode::RESOURCE_EXHAUSTED,
                                  StatusCode::FAILED_PRECONDITION, StatusCode::UNAUTHENTICATED}) {
        const std::string name = fail_with(code);
        SCOPED_TRACE(name);
        EXPECT_THAT([&] { publisher->Publish(message("topic: 'UiMuteEvent' event: 1")); },
                    ::testing::ThrowsMessage<std::runtime_error>(
                        "Publish: unrecoverable grpc error: " + name));
        EXPECT_EQ(logged(name), 1u);
    }
}

}  // namespace
}  // namespace vanta::pubsub
