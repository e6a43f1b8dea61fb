#pragma once

// The shared-memory log queues that the device's log collector drains: one
// managed segment holding lock-free queues of fixed 256-byte text records,
// each with named semaphores counting records added and dropped.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace logging::logtask {

constexpr const char* kSegmentName = "log_data";
constexpr std::size_t kSegmentSize = 1048576;
constexpr std::size_t kRecordSize = 256;
constexpr const char* kLogQueueName = "_buffer";
constexpr std::size_t kLogQueueCapacity = 500;
constexpr const char* kAuditQueueName = "audit_buffer";
constexpr std::size_t kAuditQueueCapacity = 100;
constexpr const char* kLibraryTag = "appl";

using Record = std::array<char, kRecordSize>;

namespace detail {

// Signed base-36 text: digits 0-9 then a-z, "-" before negative values.
std::string to_base36(std::int64_t value);
// Parses what to_base36 writes; returns false on anything else.
bool from_base36(std::string_view text, std::int64_t& value);

// Splits one message into records "<pid> <time> <severity> <tag> <M> <text>"
// (numbers in base 36; M is C for a whole message, else F, P..., E) and hands
// each NUL-terminated record to `push`. A trailing newline is dropped.
void encode_message(int severity, std::int64_t pid, std::int64_t timestamp_us, std::string_view tag,
                    std::string_view message, const std::function<void(const Record&)>& push);

}  // namespace detail

// One queue in a segment, with its "_adds" and "_drops" semaphores.
class Queue {
  public:
    virtual ~Queue() = default;
    // Never blocks: a full queue drops the record and counts the drop.
    virtual void push(const Record& record) = 0;
    // Takes the oldest record; false when the queue is empty.
    virtual bool pop(Record& record) = 0;
    // Waits until a record was added or `timeout_ms` passed.
    virtual bool wait_for_add(int timeout_ms) = 0;
    // Reads and resets the count of dropped records.
    virtual unsigned take_drop_count() = 0;
};

// The segment with both queues. Opens or creates the segment with mode 0666;
// throws when it cannot, also when a process died holding the segment's lock
// (after waiting two seconds for it).
class LogQueues {
  public:
    explicit LogQueues(const std::string& segment_name = kSegmentName);
    ~LogQueues();
    LogQueues(const LogQueues&) = delete;
    LogQueues& operator=(const LogQueues&) = delete;

    Queue& log();
    Queue& auditlog();
    // Removes a segment and its semaphores (tests and tools only).
    static void remove(const std::string& segment_name);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The process-wide queues in "log_data", opened on first use; null when the
// segment cannot be opened.
LogQueues* queues();

// Encodes one message with this process's id and the current time into the
// process-wide log queue.
void write(int severity, std::string_view tag, std::string_view message);

}  // namespace logging::logtask
