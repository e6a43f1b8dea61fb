#include "rpc/server/grpc_server_publisher.h"

#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/capturing_writer.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::ThrowsMessage;
using vanta::GrpcServerPublisher;
using vanta::GrpcServerWriter;
using vanta::testing::CapturingWriter;

namespace {

// Records, in one log shared by several writers, "<name><event>" for every
// event it is sent; throws instead while `failing` is set.
class RecordingWriter final : public GrpcServerWriter<int> {
  public:
    RecordingWriter(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}

    void send(const int& event) override {
        if (failing) {
            throw std::runtime_error("writer is broken");
        }
        log_.push_back(name_ + std::to_string(event));
    }

    bool failing = false;

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(GrpcServerPublisher, PublishesToEveryWriterInAttachmentOrderAndRefusesBadAttachments) {
    std::vector<std::string> log;
    RecordingWriter a("a", log), b("b", log), c("c", log);
    GrpcServerPublisher<int> publisher;

    publisher.publish(0);
    EXPECT_THAT(log, IsEmpty());

    publisher.add(&c);
    publisher.add(&a);
    publisher.add(&b);
    EXPECT_THAT([&] { publisher.add(&a); },
                ThrowsMessage<std::runtime_error>("Adding same writer to publisher twice"));
    EXPECT_THROW(publisher.add(nullptr), std::invalid_argument);
    publisher.publish(1);
    publisher.publish(2);
    EXPECT_THAT(log, ElementsAre("c1", "a1", "b1", "c2", "a2", "b2"));

    log.clear();
    publisher.remove(&a);
    EXPECT_THAT([&] { publisher.remove(&a); },
                ThrowsMessage<std::runtime_error>("Removing unknown writer from publisher"));
    publisher.publish(3);
    EXPECT_THAT(log, ElementsAre("c3", "b3"));

    // A failing writer stops that event only, and the publisher's mutex is
    // released on the way out: a second thread can still detach and publish.
    publisher.add(&a);
    log.clear();
    b.failing = true;
    EXPECT_THROW(publisher.publish(4), std::runtime_error);
    EXPECT_THAT(log, ElementsAre("c4"));
    b.failing = false;
    std::thread other([&] {
        publisher.remove(&b);
        publisher.publish(5);
    });
    other.join();
    EXPECT_THAT(log, ElementsAre("c4", "c5", "a5"));
}

// Whether each producer's events, numbered producer * 1'000'000 + n, arrived
// in increasing order.
bool in_order(const std::vector<int>& events) {
    int last[2] = {-1, -1};
    for (const int event : events) {
        int& previous = last[event / 1'000'000];
        if (event <= previous) {
            return false;
        }
        previous = event;
    }
    return true;
}

TEST(GrpcServerPublisher, ConcurrentProducersAndAttachmentsKeepEachProducersOrder) {
    GrpcServerPublisher<int> publisher;
    CapturingWriter<int> steady;
    publisher.add(&steady);

    std::vector<std::thread> producers;
    for (int producer = 0; producer < 2; ++producer) {
        producers.emplace_back([&publisher, producer] {
            for (int n = 0; n < 2000; ++n) {
                publisher.publish(producer * 1'000'000 + n);
            }
        });
    }
    // Writers come and go while the producers publish.
    std::vector<CapturingWriter<int>> transient(50);
    for (auto& writer : transient) {
        publisher.add(&writer);
        std::this_thread::yield();
        publisher.remove(&writer);
    }
    for (auto& producer : producers) {
        producer.join();
    }

    EXPECT_EQ(steady.events().size(), 4000u);
    EXPECT_TRUE(in_order(steady.events()));
    for (const auto& writer : transient) {
        EXPECT_TRUE(in_order(writer.events()));
    }
}

}  // namespace
