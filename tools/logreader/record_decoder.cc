#include "tools/logreader/record_decoder.h"

#include <cstring>
#include <ctime>
#include <string_view>

#include <fmt/format.h>

namespace vanta::logreader {

namespace {

// Takes the next space-terminated field off the front of `text`.
std::optional<std::string_view> next_field(std::string_view& text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos || space == 0) {
        return std::nullopt;
    }
    const std::string_view field = text.substr(0, space);
    text.remove_prefix(space + 1);
    return field;
}

const char* severity_name(int severity) {
    switch (severity) {
        case 3:
            return "ERROR";
        case 4:
            return "WARNING";
        case 6:
            return "INFO";
        case 7:
            return "DEBUG";
        default:
            return "OTHER";
    }
}

}  // namespace

std::optional<DecodedRecord> decode_record(const logging::logtask::Record& record) {
    const size_t length = strnlen(record.data(), record.size());
    if (length == record.size()) {
        return std::nullopt;  // not NUL-terminated
    }
    std::string_view text(record.data(), length);
    DecodedRecord decoded;
    std::int64_t severity = 0;
    const auto pid = next_field(text);
    const auto time = next_field(text);
    const auto sev = next_field(text);
    const auto tag = next_field(text);
    const auto marker = next_field(text);
    if (!pid || !time || !sev || !tag || !marker || marker->size() != 1 ||
        std::string_view("CFPE").find(marker->front()) == std::string_view::npos ||
        !logging::logtask::detail::from_base36(*pid, decoded.pid) ||
        !logging::logtask::detail::from_base36(*time, decoded.timestamp_us) ||
        !logging::logtask::detail::from_base36(*sev, severity)) {
        return std::nullopt;
    }
    decoded.severity = static_cast<int>(severity);
    decoded.tag = std::string(*tag);
    decoded.marker = marker->front();
    decoded.text = std::string(text);
    return decoded;
}

std::optional<Message> MessageAssembler::add(const DecodedRecord& record) {
    switch (record.marker) {
        case 'C':
            return Message{record.pid, record.timestamp_us, record.severity, record.tag,
                           record.text};
        case 'F':
            partial_[record.pid] =
                Message{record.pid, record.timestamp_us, record.severity, record.tag, record.text};
            return std::nullopt;
        case 'P': {
            auto it = partial_.find(record.pid);
            if (it != partial_.end()) {
                it->second.text += record.text;
            }
            return std::nullopt;
        }
        case 'E': {
            auto it = partial_.find(record.pid);
            if (it == partial_.end()) {
                // The start was lost (dropped or read by someone else): show
                // what is left rather than nothing.
                return Message{record.pid, record.timestamp_us, record.severity, record.tag,
                               "..." + record.text};
            }
            Message complete = std::move(it->second);
            complete.text += record.text;
            partial_.erase(it);
            return complete;
        }
        default:
            return std::nullopt;
    }
}

std::string format_message(const Message& message) {
    const std::time_t seconds = static_cast<std::time_t>(message.timestamp_us / 1000000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char when[32];
    std::strftime(when, sizeof(when), "%Y-%m-%d %H:%M:%S", &local);
    return fmt::format("{} {}.{:06d} {} {}: {}", message.pid, when,
                       static_cast<int>(message.timestamp_us % 1000000),
                       severity_name(message.severity), message.tag, message.text);
}

}  // namespace vanta::logreader
