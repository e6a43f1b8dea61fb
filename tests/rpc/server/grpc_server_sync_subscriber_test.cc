#include "rpc/server/grpc_server_sync_subscriber.h"

#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/server/test_event_service.h"
#include "sim/backend_server.h"
#include "sim/hang_gate.h"
#include "support/temp_dir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vanta::testing::EventSubscription;
using vanta::testing::make_event;

namespace {

// The service on a server whose writes wait while the gate is held.
class GrpcServerSyncSubscriberTest : public ::testing::Test {
  protected:
    // Opened before the server goes, so that a failing case cannot hang it.
    ~GrpcServerSyncSubscriberTest() override { gate_.open(); }

    void publish(int first, int last) {
        for (int sequence = first; sequence <= last; ++sequence) {
            service_.publisher().publish(make_event(sequence));
        }
    }

    vanta::testing::TempDir dir_;
    std::string address_ = dir_.socket_address("events");
    vanta::testing::TestEventService service_;
    vanta::sim::HangGate gate_;
    vanta::sim::BackendServer server_{{address_}, {&service_}, gate_.interceptors()};
};

// How a client ends its stream without going away.
enum class Ending { Unsubscribe, HalfClose };

class QueuedEventsOnClosing : public GrpcServerSyncSubscriberTest,
                              public ::testing::WithParamInterface<Ending> {};

// Events queued with the "started" event leave with it at the writer's first
// wake-up; a request that does not stop the stream changes nothing; events
// still queued behind a held write when the client closes are all written.
TEST_P(QueuedEventsOnClosing, AreAllWrittenInOrderBeforeTheCallEnds) {
    service_.set_hooks([this] { publish(1, 2); }, nullptr);
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());
    ASSERT_TRUE(client.request(false));
    ASSERT_TRUE(service_.wait_for("request", 1));

    gate_.hold();
    publish(3, 5);
    if (GetParam() == Ending::Unsubscribe) {
        ASSERT_TRUE(client.request(true));
        ASSERT_TRUE(service_.wait_for("request", 2));
    } else {
        ASSERT_TRUE(client.half_close());
        ASSERT_TRUE(service_.wait_for("failed read", 1));
    }
    gate_.open();

    EXPECT_THAT(client.read_to_end(), ElementsAre(1, 2, 3, 4, 5));
    EXPECT_TRUE(client.finish().ok());
    EXPECT_TRUE(service_.wait_for("finished call", 1));
}

INSTANTIATE_TEST_SUITE_P(Ending, QueuedEventsOnClosing,
                         ::testing::Values(Ending::Unsubscribe, Ending::HalfClose));

TEST_F(GrpcServerSyncSubscriberTest, EventsAfterClosingAreDroppedForThatStreamOnly) {
    EventSubscription leaving(address_);
    ASSERT_TRUE(leaving.wait_until_started());
    EventSubscription staying(address_);
    ASSERT_TRUE(staying.wait_until_started());

    // The leaving stream is closed and drained but still attached when this
    // runs; publishing to it must neither fail (the call would end with an
    // error) nor reach its client.
    service_.set_hooks(nullptr, [this] { service_.publisher().publish(make_event(7, "late")); });
    ASSERT_TRUE(leaving.request(true));
    EXPECT_THAT(leaving.read_to_end(), IsEmpty());
    EXPECT_TRUE(leaving.finish().ok());
    ASSERT_TRUE(service_.wait_for("finished call", 1));

    service_.set_hooks(nullptr, nullptr);
    auto late = staying.next();
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->text(), "late");
    ASSERT_TRUE(staying.request(true));
    EXPECT_THAT(staying.read_to_end(), IsEmpty());
}

TEST_F(GrpcServerSyncSubscriberTest, ClientThatDisappearsEndsItsWriterAtTheFirstFailedWrite) {
    EventSubscription client(address_);
    ASSERT_TRUE(client.wait_until_started());

    gate_.hold();
    publish(1, 3);
    client.cancel();
    ASSERT_TRUE(service_.wait_for("failed read", 1));
    gate_.open();

    // One failed write of event 1 ends the stream; events 2 and 3 are never
    // tried, and the handler returns without waiting for the client.
    ASSERT_TRUE(service_.wait_for("finished call", 1));
    EXPECT_THAT(service_.write_results(), ElementsAre(true, false));
    EXPECT_FALSE(client.finish().ok());
}

}  // namespace
