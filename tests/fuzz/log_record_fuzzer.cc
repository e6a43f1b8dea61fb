// The log-record encoder: any severity, process id, time, tag and message
// become records of at most 256 bytes, each ending in a NUL, whose header
// reads back as the numbers written and whose texts join into the message;
// base-36 numbers that read, read as what they say.
//
// Input: 8 bytes process id, 8 bytes time, 4 bytes severity, one byte tag
// length, the tag, then the message.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "runtime/logging/logtask.h"
#include "tools/logreader/record_decoder.h"

namespace {

using logging::logtask::kRecordSize;
using logging::logtask::Record;
using logging::logtask::detail::encode_message;
using logging::logtask::detail::from_base36;
using logging::logtask::detail::to_base36;

template <typename Number>
Number take(std::string_view& input) {
    Number value{};
    const std::size_t size = std::min(sizeof(value), input.size());
    std::memcpy(&value, input.data(), size);
    input.remove_prefix(size);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto pid = take<std::int64_t>(input);
    const auto time = take<std::int64_t>(input);
    const auto severity = take<std::int32_t>(input);
    const std::size_t tag_length = std::min<std::size_t>(take<std::uint8_t>(input), input.size());
    const std::string tag(input.substr(0, tag_length));
    input.remove_prefix(tag_length);
    const std::string_view message = input;

    std::vector<Record> records;
    encode_message(severity, pid, time, tag, message, [&](const Record& record) {
        require(std::memchr(record.data(), '\0', kRecordSize) != nullptr,
                "record without a terminating NUL");
        records.push_back(record);
    });
    require(!records.empty(), "no record");

    // A tag without spaces or NULs, with a header that leaves room for text,
    // must come back whole, read as the log reader reads it.
    const bool tag_reads_back = !tag.empty() && tag.size() <= 150 &&
                                tag.find_first_of(std::string(" \0", 2)) == std::string::npos;
    vanta::logreader::MessageAssembler assembler;
    std::optional<vanta::logreader::Message> whole;
    for (std::size_t i = 0; tag_reads_back && i < records.size(); ++i) {
        const auto read = vanta::logreader::decode_record(records[i]);
        require(read && read->pid == pid && read->timestamp_us == time &&
                    read->severity == severity && read->tag == tag,
                "a header does not read back");
        const char expected_marker =
            records.size() == 1 ? 'C' : (i == 0 ? 'F' : (i + 1 == records.size() ? 'E' : 'P'));
        require(read->marker == expected_marker, "wrong part marker");
        whole = assembler.add(*read);
    }
    std::string expected(message);
    if (!expected.empty() && expected.back() == '\n') {
        expected.pop_back();
    }
    if (tag_reads_back && expected.find('\0') == std::string::npos) {
        require(whole && whole->text == expected, "record texts do not join into the message");
    }

    // The reader's side: a tag that parses as a number is that number, and
    // in its shortest form it is written back the same.
    std::int64_t number = 0;
    if (from_base36(tag, number)) {
        const std::string written = to_base36(number);
        std::int64_t reread = 0;
        require(from_base36(written, reread) && reread == number, "number does not read back");
        const bool shortest = tag != "-0" && (tag.size() == 1 || tag[tag[0] == '-'] != '0');
        require(!shortest || written == tag, "a number reads as another");
    }
    return 0;
}
