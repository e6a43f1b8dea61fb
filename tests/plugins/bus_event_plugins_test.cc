#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "plugin_catalogue.h"
#include "runtime/executor/manual_executor.h"
#include "runtime/logging/metrics_dispatch_client.h"
#include "runtime/logging/nlog.h"
#include "sim/backend_server.h"
#include "sim/metricsdispatch_backend.h"
#include "support/bus_translation_table.h"
#include "support/capturing_writer.h"
#include "support/console_capture.h"
#include "support/recording_registrar.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using vantaapi::VantaEvent;

// Every plugin of the service on one registrar, as the API service builds
// them, with a subscriber attached to the fan-out and the metrics worker
// sending to a fake dispatch service.
class BusEventPluginsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        nlog::init_logger(vanta::metricsdispatch::create_metricsdispatch_client(
            temp_.socket_address("metrics"), std::chrono::milliseconds(5000)));
        publisher_.add(&writer_);
        plugins_ = make_every_plugin(executor_, publisher_, registrar_);
    }
    void TearDown() override {
        publisher_.remove(&writer_);
        nlog::stop_logger();
    }

    void dispatch(const Row& row) { registrar_.dispatch(pubsub::PubSubMessage(bus_message(row))); }

    void check(const Row& row) {
        writer_.clear();
        ConsoleCapture console;
        switch (row.raises) {
            case Raises::nothing:
                EXPECT_NO_THROW(dispatch(row));
                break;
            case Raises::invalid_argument:
                EXPECT_THROW(dispatch(row), std::invalid_argument);
                break;
            case Raises::out_of_range:
                EXPECT_THROW(dispatch(row), std::out_of_range);
                break;
            case Raises::runtime_error:
                EXPECT_THAT([&] { dispatch(row); },
                            ::testing::ThrowsMessage<std::runtime_error>(row.error_text));
                break;
        }

        // The one event of the row, or none, in text.
        std::vector<std::string> expected;
        if (!row.published.empty()) {
            expected.push_back(from_text<VantaEvent>(row.published).ShortDebugString());
        }
        std::vector<std::string> published;
        for (const VantaEvent& event : writer_.events()) {
            published.push_back(event.ShortDebugString());
        }
        EXPECT_EQ(published, expected);
        if (row.logs) {
            EXPECT_EQ(console.lines(), *row.logs);
        }
    }

    TempDir temp_;
    sim::MetricsDispatchBackend metrics_;
    sim::BackendServer metrics_server_{temp_.socket_address("metrics"), {&metrics_}};
    ManualExecutor executor_;
    EventPublisher publisher_;
    CapturingWriter<VantaEvent> writer_;
    RecordingRegistrar registrar_;
    Plugins plugins_;
};

TEST_F(BusEventPluginsTest, EveryBusMessageBecomesItsEventOrNothing) {
    for (const Row& row : translation_table()) {
        SCOPED_TRACE(row.topic + " event " + std::to_string(row.event) + " data \"" + row.data +
                     "\"");
        check(row);
    }
}

TEST_F(BusEventPluginsTest, DeviceCrashIsCountedAsAProblemReportMetric) {
    Row crash = on("DeviceEvent", 0)
                    .with_data("/dev/video0")
                    .with({{"dump_file", "/crashlog/uvc.dmp"}, {"driver_name", "uvcvideo"}});
    dispatch(on("DeviceEvent", 1));
    dispatch(crash);
    dispatch(on("DeviceEvent", 0));

    ASSERT_TRUE(metrics_.wait_for(2));
    const auto metrics = metrics_.metrics();
    ASSERT_EQ(metrics.size(), 2u);
    EXPECT_THAT(metrics[0].type(), ElementsAre(vanta::metricsdispatch::METRIC));
    EXPECT_EQ(metrics[0].tag(), "Vanta.system.ProblemReport");
    EXPECT_EQ(metrics[0].key(), "Vanta.system.ProblemReport.DeviceCrash");
    EXPECT_EQ(nlohmann::json::parse(metrics[0].json_data()),
              (nlohmann::json{{"device_path", "/dev/video0"}, {"driver_name", "uvcvideo"}}));
    EXPECT_EQ(nlohmann::json::parse(metrics[1].json_data()),
              (nlohmann::json{{"device_path", ""}, {"driver_name", ""}}));
    EXPECT_EQ(writer_.events().size(), 2u);
}

}  // namespace
}  // namespace vanta::testing
