#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/logging/logtask.h"
#include "tools/logreader/record_decoder.h"

using namespace vanta::logreader;

namespace {

std::vector<logging::logtask::Record> encode(std::int64_t pid, const std::string& text) {
    std::vector<logging::logtask::Record> records;
    logging::logtask::detail::encode_message(
        6, pid, 1733430000000000, "appl", text,
        [&](const logging::logtask::Record& r) { records.push_back(r); });
    return records;
}

}  // namespace

TEST(LogReader, DecodesWhatTheEncoderWrites) {
    const auto records = encode(4242, "VantaApi I: hello");
    ASSERT_EQ(records.size(), 1u);
    const auto decoded = decode_record(records[0]);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pid, 4242);
    EXPECT_EQ(decoded->timestamp_us, 1733430000000000);
    EXPECT_EQ(decoded->severity, 6);
    EXPECT_EQ(decoded->tag, "appl");
    EXPECT_EQ(decoded->marker, 'C');
    EXPECT_EQ(decoded->text, "VantaApi I: hello");
}

TEST(LogReader, JoinsSplitMessagesPerProcessEvenWhenInterleaved) {
    const std::string long_a(700, 'a');
    const std::string long_b(300, 'b');
    const auto a = encode(1, long_a);
    const auto b = encode(2, long_b);
    ASSERT_GT(a.size(), 2u);
    MessageAssembler assembler;
    std::vector<Message> done;
    auto feed = [&](const logging::logtask::Record& r) {
        const auto decoded = decode_record(r);
        ASSERT_TRUE(decoded);
        if (auto m = assembler.add(*decoded)) {
            done.push_back(*m);
        }
    };
    feed(a[0]);
    for (const auto& r : b) {
        feed(r);
    }
    for (size_t i = 1; i < a.size(); ++i) {
        feed(a[i]);
    }
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].pid, 2);
    EXPECT_EQ(done[0].text, long_b);
    EXPECT_EQ(done[1].pid, 1);
    EXPECT_EQ(done[1].text, long_a);
}

TEST(LogReader, RefusesRecordsNotInTheFormat) {
    for (const char* text : {"", "garbage", "1 2 3 appl X text", "1 2 3 appl", "Z 2 3 appl C t"}) {
        logging::logtask::Record record{};
        std::strncpy(record.data(), text, record.size() - 1);
        EXPECT_FALSE(decode_record(record)) << text;
    }
    logging::logtask::Record unterminated;
    unterminated.fill('x');
    EXPECT_FALSE(decode_record(unterminated));
}

TEST(LogReader, FormatsOneLinePerMessage) {
    const Message message{12, 1733430000123456, 3, "appl", "VantaApi ERROR: failed"};
    EXPECT_THAT(format_message(message),
                ::testing::MatchesRegex("12 [0-9-]+ [0-9:]+\\.123456 ERROR appl: VantaApi ERROR: "
                                        "failed"));
}
