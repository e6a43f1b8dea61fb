// User names, ids of paired users, pairing secrets (guest token, manual PIN),
// proxy addresses and credentials (proxy, account, Wi-Fi, access point and
// meeting lobby) pass through the service on every road that carries them
// (API requests and answers, the backends' refusals quoting them, bus events
// about paired users, proxies and a sharing participant), and none of them is
// in the shared-memory log, read as the device's collector reads it. The
// values and their roads are in personal_values.json. The whole service runs
// in this process on backends of its own; ctest gives it a private /dev/shm.

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "plugins/service_on_backends.h"
#include "runtime/logging/logtask.h"
#include "support/bus_translation_table.h"
#include "support/data_files.h"
#include "tools/logreader/queue_reader.h"

namespace vanta::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::Not;

// Whatever reaches the log: every record's text and every whole message, so
// that a value split over two records is found as well.
class SharedMemoryLog {
  public:
    // Takes what was logged since the last call; false if records were dropped
    // or did not read.
    bool drain() {
        const auto taken = logreader::take_waiting(queues_.log(), assembler_);
        for (const auto& record : taken.decoded) {
            texts_.push_back(record.text);
        }
        for (const auto& message : taken.messages) {
            texts_.push_back(message.text);
        }
        return taken.dropped == 0 && taken.unreadable == 0;
    }
    // The records and messages that hold `text`.
    std::vector<std::string> holding(const std::string& text) const {
        std::vector<std::string> found;
        std::copy_if(
            texts_.begin(), texts_.end(), std::back_inserter(found),
            [&](const std::string& entry) { return entry.find(text) != std::string::npos; });
        return found;
    }

  private:
    logging::logtask::LogQueues queues_;
    logreader::MessageAssembler assembler_;
    std::vector<std::string> texts_;
};

// Each API road is called with its backend answering, then refusing with a
// text that quotes every personal value; then the bus messages are delivered.
TEST(PersonalValues, NoneReachesTheSharedMemoryLog) {
    const auto data = read_json(VANTA_API_DATA_DIR "/personal_values.json");
    // A table cut short would leave values unchecked.
    ASSERT_EQ(data.at("personal_values").size(), 18u);
    ASSERT_EQ(data.at("api_roads").size(), 12u);
    ASSERT_EQ(data.at("bus_messages").size(), 5u);
    ASSERT_EQ(data.at("logged_concealed").size(), 3u);
    std::string refusal = "refused";
    for (const std::string value : data["personal_values"]) {
        refusal += " " + value;
    }

    SharedMemoryLog log;
    ServiceOnBackends service;
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.broker.wait_for_open_streams("VantaApi"));
    for (const auto& road : data["api_roads"]) {
        const std::string operation = road.at("operation");
        const std::string request = road.value("request", "");
        const std::string backend_operation = road.at("backend_operation");
        SCOPED_TRACE(operation);
        service.backends.script(backend_operation, road.at("reply"));
        EXPECT_TRUE(service.call(operation, request).status.ok());
        for (const grpc::StatusCode code :
             {grpc::StatusCode::UNAVAILABLE, grpc::StatusCode::INVALID_ARGUMENT}) {
            service.backends.fail(backend_operation, grpc::Status(code, refusal));
            EXPECT_FALSE(service.call(operation, request).status.ok());
        }
        service.backends.fail(backend_operation, grpc::Status::OK);
        ASSERT_TRUE(log.drain()) << "records were dropped or did not read";
    }
    for (const std::string message : data["bus_messages"]) {
        service.broker.deliver(from_text<pubsub::PubSubMsg>(message));
    }
    ASSERT_EQ(service.published(data["bus_messages"].size()).size(), data["bus_messages"].size());
    ASSERT_TRUE(log.drain()) << "records were dropped or did not read";

    // The roads were logged, with the values concealed.
    for (const std::string line : data["logged_concealed"]) {
        EXPECT_THAT(log.holding(line), Not(IsEmpty())) << line;
    }
    for (const std::string value : data["personal_values"]) {
        EXPECT_THAT(log.holding(value), IsEmpty()) << value;
    }
}

}  // namespace
}  // namespace vanta::testing
