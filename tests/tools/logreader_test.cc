#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/logging/logtask.h"
#include "tools/logreader/queue_reader.h"
#include "tools/logreader/record_decoder.h"

using namespace vanta::logreader;

namespace {

constexpr std::int64_t kTime = 1733430000000000;

std::vector<logging::logtask::Record> encode(std::int64_t pid, const std::string& text) {
    std::vector<logging::logtask::Record> records;
    logging::logtask::detail::encode_message(
        6, pid, kTime, "appl", text,
        [&](const logging::logtask::Record& r) { records.push_back(r); });
    return records;
}

}  // namespace

// Records decoded and joined back into whole messages: a short one in a
// single record, and split ones of two processes interleaved.
TEST(LogReader, DecodesAndJoinsMessagesPerProcessEvenWhenInterleaved) {
    const std::string long_a(700, 'a');
    const std::string long_b(300, 'b');
    const auto a = encode(1, long_a);
    ASSERT_GT(a.size(), 2u);
    MessageAssembler assembler;
    std::vector<std::tuple<std::int64_t, std::int64_t, int, std::string, std::string>> done;
    auto feed = [&](const logging::logtask::Record& r) {
        const auto decoded = decode_record(r);
        ASSERT_TRUE(decoded);
        if (auto m = assembler.add(*decoded)) {
            done.emplace_back(m->pid, m->timestamp_us, m->severity, m->tag, m->text);
        }
    };
    feed(a[0]);
    for (const auto& r : encode(2, long_b)) {
        feed(r);
    }
    const auto whole = encode(4242, "VantaApi I: hello");
    ASSERT_EQ(whole.size(), 1u);
    feed(whole[0]);
    for (size_t i = 1; i < a.size(); ++i) {
        feed(a[i]);
    }
    EXPECT_EQ(done, (decltype(done){{2, kTime, 6, "appl", long_b},
                                    {4242, kTime, 6, "appl", "VantaApi I: hello"},
                                    {1, kTime, 6, "appl", long_a}}));
}

// A queue in memory, with a count of drops as the shared one keeps.
class QueueInMemory final : public logging::logtask::Queue {
  public:
    void push(const logging::logtask::Record& record) override { records.push_back(record); }
    bool pop(logging::logtask::Record& record) override {
        if (records.empty()) {
            return false;
        }
        record = records.front();
        records.pop_front();
        return true;
    }
    bool wait_for_add(int) override { return !records.empty(); }
    unsigned take_drop_count() override { return std::exchange(drops, 0); }

    std::deque<logging::logtask::Record> records;
    unsigned drops = 0;
};

// Taking what waits in a queue: records not in the format are counted and
// skipped, a split message is completed by a later take, and the drops are
// taken once.
TEST(LogReader, TakesTheWaitingRecordsSkipsThoseNotInTheFormatAndTakesTheDrops) {
    QueueInMemory queue;
    queue.drops = 3;
    const auto split = encode(7, std::string(700, 's'));
    ASSERT_GT(split.size(), 2u);
    for (size_t i = 0; i + 1 < split.size(); ++i) {
        queue.push(split[i]);
    }
    for (const char* text : {"", "garbage", "1 2 3 appl X text", "1 2 3 appl", "Z 2 3 appl C t"}) {
        logging::logtask::Record record{};
        std::strncpy(record.data(), text, record.size() - 1);
        queue.push(record);
    }
    logging::logtask::Record unterminated;
    unterminated.fill('x');
    queue.push(unterminated);
    queue.push(encode(8, "whole").at(0));

    MessageAssembler assembler;
    const auto first = take_waiting(queue, assembler);
    EXPECT_EQ(first.unreadable, 6u);
    EXPECT_EQ(first.decoded.size(), split.size());
    EXPECT_EQ(first.read(), split.size() + 6);
    EXPECT_EQ(first.dropped, 3u);
    ASSERT_EQ(first.messages.size(), 1u);
    EXPECT_EQ(first.messages[0].text, "whole");

    queue.push(split.back());
    const auto second = take_waiting(queue, assembler);
    EXPECT_EQ(second.dropped, 0u);
    ASSERT_EQ(second.messages.size(), 1u);
    EXPECT_EQ(second.messages[0].text, std::string(700, 's'));
    EXPECT_EQ(take_waiting(queue, assembler).read(), 0u);
}

TEST(LogReader, FormatsOneLinePerMessage) {
    const Message message{12, 1733430000123456, 3, "appl", "VantaApi ERROR: failed"};
    EXPECT_THAT(format_message(message),
                ::testing::MatchesRegex("12 [0-9-]+ [0-9:]+\\.123456 ERROR appl: VantaApi ERROR: "
                                        "failed"));
}
