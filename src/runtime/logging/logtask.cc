#include "runtime/logging/logtask.h"

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <mutex>

// The segment's own lock is held for microseconds while a queue is looked up.
// A process killed inside that moment leaves it held forever; waiting for it
// with a bound lets the next opener fail (and run without the log queue)
// instead of hanging. Only this file includes Boost.Interprocess.
#define BOOST_INTERPROCESS_ENABLE_TIMEOUT_WHEN_LOCKING
#define BOOST_INTERPROCESS_TIMEOUT_WHEN_LOCKING_DURATION_MS 2000

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/interprocess/managed_shared_memory.hpp>
#include <boost/interprocess/permissions.hpp>
#include <boost/interprocess/sync/named_semaphore.hpp>
#include <boost/lockfree/queue.hpp>

namespace bip = boost::interprocess;

namespace logging::logtask {

namespace detail {

std::string to_base36(std::int64_t value) {
    if (value == 0) {
        return "0";
    }
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    const bool negative = value < 0;
    // Work on the unsigned magnitude so that the most negative value survives.
    std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(value + 1)) + 1 : static_cast<std::uint64_t>(value);
    char text[16];
    int pos = sizeof(text);
    while (magnitude != 0) {
        text[--pos] = kDigits[magnitude % 36];
        magnitude /= 36;
    }
    if (negative) {
        text[--pos] = '-';
    }
    return std::string(text + pos, sizeof(text) - pos);
}

bool from_base36(std::string_view text, std::int64_t& value) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 13) {
        return false;
    }
    // The largest magnitude of the sign: 2^63 - 1, or 2^63 for negative values.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    std::uint64_t magnitude = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'z') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / 36) {
            return false;
        }
        magnitude = magnitude * 36 + static_cast<std::uint64_t>(digit);
    }
    // Negated as magnitude - 1 so that 2^63 becomes the most negative value.
    value = negative && magnitude != 0 ? -static_cast<std::int64_t>(magnitude - 1) - 1
                                       : static_cast<std::int64_t>(magnitude);
    return true;
}

void encode_message(int severity, std::int64_t pid, std::int64_t timestamp_us, std::string_view tag,
                    std::string_view message, const std::function<void(const Record&)>& push) {
    if (!message.empty() && message.back() == '\n') {
        message.remove_suffix(1);
    }
    const std::string header = to_base36(pid) + " " + to_base36(timestamp_us) + " " +
                               to_base36(severity) + " " + std::string(tag);
    // Each record keeps room for " M " and the terminating NUL (and one spare).
    constexpr std::size_t kMarkerAndTerminator = 5;
    const std::size_t room = header.size() + kMarkerAndTerminator < kRecordSize
                                 ? kRecordSize - header.size() - kMarkerAndTerminator
                                 : 1;

    auto emit = [&](char marker, std::string_view part) {
        Record record{};
        std::size_t pos = 0;
        const std::size_t header_len = std::min(header.size(), kRecordSize - 5);
        std::memcpy(record.data(), header.data(), header_len);
        pos += header_len;
        record[pos++] = ' ';
        record[pos++] = marker;
        record[pos++] = ' ';
        const std::size_t len = std::min(part.size(), kRecordSize - 1 - pos);
        std::memcpy(record.data() + pos, part.data(), len);
        record[pos + len] = '\0';
        push(record);
    };

    if (message.size() <= room) {
        emit('C', message);
        return;
    }
    std::size_t offset = 0;
    while (offset < message.size()) {
        const std::string_view part = message.substr(offset, room);
        const char marker =
            offset == 0 ? 'F' : (offset + part.size() >= message.size() ? 'E' : 'P');
        emit(marker, part);
        offset += part.size();
    }
}

}  // namespace detail

namespace {

template <std::size_t Capacity>
using RecordRing = boost::lockfree::queue<Record, boost::lockfree::capacity<Capacity>>;

bip::permissions all_may_write() {
    bip::permissions permissions;
    permissions.set_unrestricted();
    return permissions;
}

template <std::size_t Capacity>
class SharedQueue final : public Queue {
  public:
    SharedQueue(bip::managed_shared_memory& segment, const std::string& name)
        : ring_(*segment.find_or_construct<RecordRing<Capacity>>(name.c_str())()),
          adds_(bip::open_or_create, (name + "_adds").c_str(), 0, all_may_write()),
          drops_(bip::open_or_create, (name + "_drops").c_str(), 0, all_may_write()) {}

    void push(const Record& record) override {
        const bool pushed = ring_.bounded_push(record);
        adds_.post();
        if (!pushed) {
            drops_.post();
        }
    }

    bool pop(Record& record) override { return ring_.pop(record); }

    bool wait_for_add(int timeout_ms) override {
        const auto until = boost::posix_time::microsec_clock::universal_time() +
                           boost::posix_time::milliseconds(timeout_ms);
        return adds_.timed_wait(until);
    }

    unsigned take_drop_count() override {
        unsigned count = 0;
        while (drops_.try_wait()) {
            ++count;
        }
        return count;
    }

  private:
    RecordRing<Capacity>& ring_;
    bip::named_semaphore adds_;
    bip::named_semaphore drops_;
};

}  // namespace

struct LogQueues::Impl {
    explicit Impl(const std::string& segment_name)
        : segment(bip::open_or_create, segment_name.c_str(), kSegmentSize, nullptr,
                  all_may_write()),
          log(segment, semaphore_prefix(segment_name) + kLogQueueName),
          audit(segment, semaphore_prefix(segment_name) + kAuditQueueName) {}

    // The daemon's own segment uses the bare queue names; other segments
    // (tests, tools) put their name in front so that semaphores never meet.
    static std::string semaphore_prefix(const std::string& segment_name) {
        return segment_name == kSegmentName ? std::string() : segment_name;
    }

    bip::managed_shared_memory segment;
    SharedQueue<kLogQueueCapacity> log;
    SharedQueue<kAuditQueueCapacity> audit;
};

LogQueues::LogQueues(const std::string& segment_name)
    : impl_(std::make_unique<Impl>(segment_name)) {}

LogQueues::~LogQueues() = default;

Queue& LogQueues::log() {
    return impl_->log;
}

Queue& LogQueues::auditlog() {
    return impl_->audit;
}

void LogQueues::remove(const std::string& segment_name) {
    const std::string prefix = Impl::semaphore_prefix(segment_name);
    for (const char* queue : {kLogQueueName, kAuditQueueName}) {
        bip::named_semaphore::remove((prefix + queue + "_adds").c_str());
        bip::named_semaphore::remove((prefix + queue + "_drops").c_str());
    }
    bip::shared_memory_object::remove(segment_name.c_str());
}

LogQueues* queues() {
    // Logging must never fail its caller: without a usable segment (no
    // /dev/shm, no permission) records are simply not queued.
    static const std::unique_ptr<LogQueues> instance = []() -> std::unique_ptr<LogQueues> {
        try {
            return std::make_unique<LogQueues>();
        } catch (const std::exception&) {
            return nullptr;
        }
    }();
    return instance.get();
}

void write(int severity, std::string_view tag, std::string_view message) {
    const auto now_us = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    LogQueues* process_queues = queues();
    if (process_queues == nullptr) {
        return;
    }
    Queue& queue = process_queues->log();
    detail::encode_message(severity, getpid(), now_us, tag, message,
                           [&queue](const Record& record) { queue.push(record); });
}

}  // namespace logging::logtask
