#include <atomic>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/logging/nlog.h"
#include "sim/backend_server.h"
#include "sim/metricsdispatch_backend.h"
#include "support/console_capture.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

class MetricsWorkerTest : public ::testing::Test {
  protected:
    vanta::testing::TempDir dir_;
    std::string address_ = dir_.socket_address("metricsdispatch_service");
    vanta::sim::MetricsDispatchBackend service_;
};

// Metrics logged before the worker starts or after it stops are dropped.
TEST_F(MetricsWorkerTest, SendsPushedMetricsInOrderWithAllTheirTypesWhileItRuns) {
    vanta::sim::BackendServer server(address_, {&service_});
    const auto logger = nlog::create_logger("DeviceCrash");
    logger.log(vanta::metricsdispatch::METRIC, "before", {{"a", 1}});
    nlog::init_logger(vanta::metricsdispatch::create_metricsdispatch_client(address_, 20000ms));
    for (int i = 0; i < 5; ++i) {
        logger.log(vanta::metricsdispatch::METRIC, "crash" + std::to_string(i), {{"n", i}});
    }
    logger.log({vanta::metricsdispatch::METRIC, vanta::metricsdispatch::ALARM}, "k", {{"a", 1}});
    ASSERT_TRUE(service_.wait_for(6));
    nlog::stop_logger();
    logger.log(vanta::metricsdispatch::METRIC, "after", {{"a", 3}});

    const auto metrics = service_.metrics();
    ASSERT_EQ(metrics.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(metrics[i].key(), "crash" + std::to_string(i));
        EXPECT_EQ(metrics[i].tag(), "DeviceCrash");
        EXPECT_EQ(metrics[i].json_data(), "{\"n\":" + std::to_string(i) + "}");
        ASSERT_EQ(metrics[i].type_size(), 1);
        EXPECT_EQ(metrics[i].type(0), vanta::metricsdispatch::METRIC);
        EXPECT_GT(metrics[i].timestamp_seconds(), 1600000000);
        EXPECT_LT(metrics[i].timestamp_nanos(), 1000000000);
        EXPECT_FALSE(metrics[i].process_name().empty());
    }
    EXPECT_EQ(metrics[5].type_size(), 2);
}

TEST_F(MetricsWorkerTest, EmptyKeyOrDataIsRefusedWithTheLoggerName) {
    nlog::init_logger(vanta::metricsdispatch::create_metricsdispatch_client(address_, 20000ms));
    const auto logger = nlog::create_logger("Crash");
    EXPECT_THAT(
        [&] {
            logger.log(vanta::metricsdispatch::METRIC, "", {{"a", 1}});
        },
        ::testing::ThrowsMessage<std::runtime_error>("Crash: metric key is empty"));
    EXPECT_THAT(
        [&] { logger.log(vanta::metricsdispatch::METRIC, "key", nlohmann::json::object()); },
        ::testing::ThrowsMessage<std::runtime_error>("Crash: metric data is empty"));
    nlog::stop_logger();
}

// A dispatch service that is down for the metrics whose key starts with
// "down" and takes the others.
class OutageClient final : public vanta::metricsdispatch::MetricsDispatchClient {
  public:
    explicit OutageClient(std::atomic<int>& attempts) : attempts_(attempts) {}
    void SendMetric(const nlog::Metric& metric) override {
        const bool down = metric.key().rfind("down", 0) == 0;
        ++attempts_;
        if (down) {
            throw std::runtime_error("SendMetric failed: connection refused");
        }
    }
    void cancel() override {}

  private:
    std::atomic<int>& attempts_;
};

TEST(MetricsWorkerOutage, OnlyTheFirstDropOfEachOutageIsLogged) {
    vanta::testing::ConsoleCapture console;
    std::atomic<int> attempts{0};
    nlog::init_logger(std::make_unique<OutageClient>(attempts));
    const auto logger = nlog::create_logger("Outage");
    for (const char* key : {"down1", "down2", "down3", "sent", "down4", "down5"}) {
        logger.log(vanta::metricsdispatch::METRIC, key, {{"a", 1}});
    }
    ASSERT_TRUE(vanta::testing::wait_until([&] { return attempts == 6; }, 5000ms));
    nlog::stop_logger();

    const auto drops = console.lines_containing("Dropping metric");
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_THAT(drops[0],
                ::testing::StartsWith("nlog W: Dropping metric down1: SendMetric failed"));
    EXPECT_THAT(drops[1], ::testing::StartsWith("nlog W: Dropping metric down4: "));
}

TEST(MetricEventTypes, AreNamedForMessages) {
    EXPECT_EQ(nlog::to_string(vanta::metricsdispatch::METRIC), "EventType metric");
    EXPECT_EQ(nlog::to_string(vanta::metricsdispatch::BUSINESS), "EventType business");
    EXPECT_EQ(nlog::to_string(vanta::metricsdispatch::NONE), "EventType unknown");
}
