#include "runtime/crash/thread_lister.h"

#include <limits.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "runtime/crash/signal_safe_io.h"

namespace vanta::crash {

namespace {

// The record getdents64 fills in; the name follows it, zero-terminated.
struct DirectoryEntryHeader {
    uint64_t inode;
    int64_t next_offset;
    uint16_t record_length;
    uint8_t type;
};
constexpr size_t kNameOffset = offsetof(DirectoryEntryHeader, type) + 1;

// A thread id is a decimal number; "." and ".." are not.
bool parseThreadId(const char* name, pid_t& id) {
    if (*name == '\0') {
        return false;
    }
    long value = 0;
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9' || value > INT_MAX / 10) {
            return false;
        }
        value = value * 10 + (*name - '0');
    }
    id = static_cast<pid_t>(value);
    return value > 0;
}

}  // namespace

size_t listThreads(pid_t process, pid_t* ids, size_t capacity) {
    char path[32];
    if (!procPath(process, "task", path, sizeof path)) {
        return 0;
    }
    const int folder = openReadOnly(path);
    if (folder < 0) {
        return 0;
    }
    alignas(8) char records[4096];
    size_t count = 0;
    while (count < capacity) {
        long filled;
        do {
            filled = syscall(SYS_getdents64, folder, records, sizeof records);
        } while (filled < 0 && errno == EINTR);
        if (filled <= 0) {
            break;
        }
        for (long offset = 0; offset < filled && count < capacity;) {
            DirectoryEntryHeader header;
            memcpy(&header, records + offset, sizeof header);
            if (header.record_length == 0) {
                break;
            }
            if (parseThreadId(records + offset + kNameOffset, ids[count])) {
                ++count;
            }
            offset += header.record_length;
        }
    }
    close(folder);
    return count;
}

}  // namespace vanta::crash
