#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/logging/logtask.h"

using logging::logtask::Record;
using logging::logtask::detail::encode_message;
using logging::logtask::detail::from_base36;
using logging::logtask::detail::to_base36;

namespace {

std::vector<std::string> encode(int severity, std::int64_t pid, std::int64_t time,
                                const std::string& tag, const std::string& message) {
    std::vector<std::string> records;
    encode_message(severity, pid, time, tag, message, [&](const Record& record) {
        const size_t length = strnlen(record.data(), record.size());
        EXPECT_LT(length, record.size()) << "every record ends with a NUL within 256 bytes";
        records.emplace_back(record.data(), length);
    });
    return records;
}

}  // namespace

TEST(Base36, WritesSignedLowerCaseDigits) {
    EXPECT_EQ(to_base36(0), "0");
    EXPECT_EQ(to_base36(35), "z");
    EXPECT_EQ(to_base36(36), "10");
    EXPECT_EQ(to_base36(1234), "ya");
    EXPECT_EQ(to_base36(-1234), "-ya");
    EXPECT_EQ(to_base36(INT64_MIN), "-1y2p0ij32e8e8");
    std::int64_t value = 0;
    for (std::int64_t v : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{1733430000123456},
                           INT64_MAX, INT64_MIN + 1}) {
        ASSERT_TRUE(from_base36(to_base36(v), value));
        EXPECT_EQ(value, v);
    }
    EXPECT_FALSE(from_base36("", value));
    EXPECT_FALSE(from_base36("A1", value));
    EXPECT_FALSE(from_base36("-", value));
}

// The records' layout, the parts of a split message and the trailing newline
// dropped are the log_record fuzz target's checks, replayed on its seeds.
TEST(RecordEncoding, MessageThatExactlyFillsTheRecordStaysComplete) {
    const std::string header = "1 1 6 appl";
    const size_t room = 256 - header.size() - 5;
    EXPECT_EQ(encode(6, 1, 1, "appl", std::string(room, 'x')).size(), 1u);
    EXPECT_EQ(encode(6, 1, 1, "appl", std::string(room + 1, 'x')).size(), 2u);
}

class SharedQueues : public ::testing::Test {
  protected:
    void SetUp() override {
        name_ = "vanta_test_log_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        logging::logtask::LogQueues::remove(name_);
    }
    void TearDown() override { logging::logtask::LogQueues::remove(name_); }
    std::string name_;
};

TEST_F(SharedQueues, RecordsArePoppedInOrderAndSignalledAndAFullQueueDropsAndCountsThem) {
    logging::logtask::LogQueues queues(name_);
    Record record{};
    EXPECT_FALSE(queues.log().pop(record));
    EXPECT_FALSE(queues.log().wait_for_add(0));
    for (size_t i = 0; i < logging::logtask::kLogQueueCapacity + 3; ++i) {
        std::snprintf(record.data(), record.size(), "%zu", i);
        queues.log().push(record);
    }
    EXPECT_TRUE(queues.log().wait_for_add(0));
    EXPECT_FALSE(queues.auditlog().pop(record)) << "the audit queue is separate";
    EXPECT_EQ(queues.log().take_drop_count(), 3u);
    EXPECT_EQ(queues.log().take_drop_count(), 0u);
    size_t popped = 0;
    while (queues.log().pop(record)) {
        EXPECT_EQ(std::string(record.data()), std::to_string(popped));
        ++popped;
    }
    EXPECT_EQ(popped, logging::logtask::kLogQueueCapacity);

    for (size_t i = 0; i < logging::logtask::kAuditQueueCapacity + 1; ++i) {
        queues.auditlog().push(record);
    }
    EXPECT_EQ(queues.auditlog().take_drop_count(), 1u);
}
