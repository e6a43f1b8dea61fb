#include "rpc/server/grpc_server_publisher.h"

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::ThrowsMessage;
using vanta::GrpcServerPublisher;
using vanta::GrpcServerWriter;

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

// Checks that each producer's events arrive in increasing order. Producers
// number their events producer * 1'000'000 + n. The publisher calls send()
// under its mutex, and the results are read once the producers are joined.
class OrderCheckingWriter final : public GrpcServerWriter<int> {
  public:
    void send(const int& event) override {
        int& previous = last_[event / 1'000'000];
        in_order = in_order && event > previous;
        previous = event;
        ++received;
    }

    bool in_order = true;
    int received = 0;

  private:
    int last_[2] = {-1, -1};
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
}

TEST(GrpcServerPublisher, FailingWriterStopsThatEventOnlyAndReleasesTheLock) {
    std::vector<std::string> log;
    RecordingWriter a("a", log), broken("x", log), c("c", log);
    GrpcServerPublisher<int> publisher;
    publisher.add(&a);
    publisher.add(&broken);
    publisher.add(&c);

    broken.failing = true;
    EXPECT_THROW(publisher.publish(1), std::runtime_error);
    EXPECT_THAT(log, ElementsAre("a1"));

    // The publisher's mutex was released on the way out: a second thread can
    // still attach, detach and publish.
    broken.failing = false;
    std::thread other([&] {
        publisher.remove(&broken);
        publisher.publish(2);
    });
    other.join();
    EXPECT_THAT(log, ElementsAre("a1", "a2", "c2"));
}

TEST(GrpcServerPublisher, ConcurrentProducersAndAttachmentsKeepEachProducersOrder) {
    GrpcServerPublisher<int> publisher;
    OrderCheckingWriter steady;
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
    std::vector<OrderCheckingWriter> transient(50);
    for (auto& writer : transient) {
        publisher.add(&writer);
        std::this_thread::yield();
        publisher.remove(&writer);
    }
    for (auto& producer : producers) {
        producer.join();
    }

    EXPECT_EQ(steady.received, 4000);
    EXPECT_TRUE(steady.in_order);
    for (const auto& writer : transient) {
        EXPECT_TRUE(writer.in_order);
    }
}

}  // namespace
