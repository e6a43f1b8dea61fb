#include "rpc/server/grpc_server_sync_subscriber.h"

#include <exception>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/server/event_subscription.h"
#include "rpc/server/test_event_service.h"
#include "sim/backend_server.h"
#include "support/temp_dir.h"

using ::testing::ElementsAre;
using vanta::testing::EventSubscription;
using vanta::testing::make_event;
using vanta::testing::sequences;

namespace {

class GrpcServerSyncSubscriberTest : public ::testing::Test {
  protected:
    vanta::testing::TempDir dir_;
    std::string address_ = dir_.socket_address("events");
    vanta::testing::TestEventService service_;
    vanta::sim::BackendServer server_{address_, {&service_}};
};

// How a client ends its stream without going away.
enum class Ending { Unsubscribe, HalfClose };

class QueuedEventsOnClosing : public GrpcServerSyncSubscriberTest,
                              public ::testing::WithParamInterface<Ending> {};

TEST_P(QueuedEventsOnClosing, AreAllWrittenInOrderBeforeTheCallEnds) {
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());

    // Hold the first write so that the events are still queued when the
    // client closes the stream.
    service_.shut_gate();
    for (int sequence = 1; sequence <= 3; ++sequence) {
        service_.publisher().publish(make_event(sequence));
    }
    if (GetParam() == Ending::Unsubscribe) {
        ASSERT_TRUE(client.request(true));
        ASSERT_TRUE(service_.wait_for_stop_requests(1));
    } else {
        ASSERT_TRUE(client.half_close());
        ASSERT_TRUE(service_.wait_for_failed_reads(1));
    }
    service_.open_gate();

    EXPECT_THAT(sequences(client.read_to_end()), ElementsAre(1, 2, 3));
    EXPECT_TRUE(client.finish().ok());
    EXPECT_TRUE(service_.wait_for_finished_calls(1));
}

INSTANTIATE_TEST_SUITE_P(Ending, QueuedEventsOnClosing,
                         ::testing::Values(Ending::Unsubscribe, Ending::HalfClose));

// Events queued with the "started" event leave with it at the first wake-up
// of the writer, and a burst queued behind a held write leaves at the next.
TEST_F(GrpcServerSyncSubscriberTest, EverythingQueuedAtAWakeUpIsWrittenInOrder) {
    service_.set_before_processing([this] {
        service_.publisher().publish(make_event(1));
        service_.publisher().publish(make_event(2));
    });
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());
    service_.shut_gate();
    for (int sequence = 3; sequence <= 6; ++sequence) {
        service_.publisher().publish(make_event(sequence));
    }
    service_.open_gate();
    ASSERT_TRUE(client.request(true));

    EXPECT_THAT(sequences(client.read_to_end()), ElementsAre(1, 2, 3, 4, 5, 6));
    EXPECT_TRUE(client.finish().ok());
}

TEST_F(GrpcServerSyncSubscriberTest, RequestsThatDoNotStopTheStreamAreIgnored) {
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());

    ASSERT_TRUE(client.request(false));
    ASSERT_TRUE(client.request(false));
    service_.publisher().publish(make_event(1));
    auto event = client.next();
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->sequence(), 1);

    ASSERT_TRUE(client.request(true));
    EXPECT_TRUE(client.read_to_end().empty());
    EXPECT_TRUE(client.finish().ok());
}

TEST_F(GrpcServerSyncSubscriberTest, EventsAfterClosingAreDroppedForThatStreamOnly) {
    EventSubscription leaving(address_);
    ASSERT_TRUE(leaving.wait_until_started());
    EventSubscription staying(address_);
    ASSERT_TRUE(staying.wait_until_started());

    // The leaving stream is closed and drained but still attached when this
    // runs; publishing to it must neither fail nor reach its client.
    std::exception_ptr failure;
    service_.set_after_processing([&] {
        try {
            service_.publisher().publish(make_event(7, "late"));
        } catch (...) {
            failure = std::current_exception();
        }
    });
    ASSERT_TRUE(leaving.request(true));
    EXPECT_TRUE(leaving.read_to_end().empty());
    EXPECT_TRUE(leaving.finish().ok());
    ASSERT_TRUE(service_.wait_for_finished_calls(1));
    EXPECT_FALSE(failure);

    service_.set_after_processing(nullptr);
    auto late = staying.next();
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->text(), "late");
    ASSERT_TRUE(staying.request(true));
    EXPECT_TRUE(staying.read_to_end().empty());
    EXPECT_TRUE(staying.finish().ok());
}

TEST_F(GrpcServerSyncSubscriberTest, ClientThatDisappearsEndsItsWriterAtTheFirstFailedWrite) {
    auto client = std::make_unique<EventSubscription>(address_);
    ASSERT_TRUE(client->wait_until_started());

    service_.shut_gate();
    for (int sequence = 1; sequence <= 3; ++sequence) {
        service_.publisher().publish(make_event(sequence));
    }
    client->cancel();
    ASSERT_TRUE(service_.wait_for_failed_reads(1));
    service_.open_gate();

    // One failed write of event 1 ends the stream; events 2 and 3 are never
    // tried, and the handler returns without waiting for the client.
    ASSERT_TRUE(service_.wait_for_finished_calls(1));
    EXPECT_THAT(service_.write_results(), ElementsAre(true, false));
    EXPECT_FALSE(client->finish().ok());

    // The publisher carries on for the other streams.
    EventSubscription other(address_);
    ASSERT_TRUE(other.wait_until_started());
    service_.publisher().publish(make_event(4));
    auto event = other.next();
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->sequence(), 4);
    ASSERT_TRUE(other.request(true));
    EXPECT_TRUE(other.read_to_end().empty());
    EXPECT_TRUE(other.finish().ok());
}

}  // namespace
