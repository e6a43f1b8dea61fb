#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api/service_constants.h"
#include "plugin_catalogue.h"
#include "runtime/executor/manual_executor.h"
#include "runtime/logging/loggers.h"
#include "support/capturing_writer.h"
#include "support/console_capture.h"
#include "support/recording_registrar.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(PluginTopics, EachPluginBindsExactlyItsTopicsInOrder) {
    ManualExecutor executor;
    EventPublisher publisher;
    for (const PluginEntry& entry : plugin_catalogue()) {
        SCOPED_TRACE(entry.name);
        RecordingRegistrar registrar;
        const auto plugin = entry.make(executor, publisher, registrar);
        EXPECT_EQ(registrar.topics(), entry.topics);
    }
}

TEST(PluginTopics, AllPluginsTogetherBindEverySubscribedTopicExactlyOnce) {
    ManualExecutor executor;
    EventPublisher publisher;
    RecordingRegistrar registrar;
    const auto catalogue = plugin_catalogue();
    ASSERT_EQ(catalogue.size(), 43u);
    std::vector<std::shared_ptr<void>> plugins;
    for (const PluginEntry& entry : catalogue) {
        plugins.push_back(entry.make(executor, publisher, registrar));
    }

    std::vector<std::string> bound = registrar.topics();
    std::vector<std::string> subscribed(kPubSubEventTopics.begin(), kPubSubEventTopics.end());
    std::sort(bound.begin(), bound.end());
    std::sort(subscribed.begin(), subscribed.end());
    ASSERT_EQ(subscribed.size(), 34u);
    EXPECT_EQ(bound, subscribed);
}

}  // namespace
}  // namespace vanta::testing
