#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/crash/minidump_format.h"

namespace vanta::crash {

// The dump being written. Space is reserved at the end of the file and filled
// with pwrite, so a stream can point at data written after it. After the
// first failed write nothing more is written and ok() stays false. Only
// system calls: a signal handler may use it.
class DumpFile {
  public:
    explicit DumpFile(int fd) : fd_(fd) {}

    // Reserves `size` bytes at the end of the file, starting 8-byte aligned.
    uint32_t allocate(size_t size);

    // Writes at the end of the file, growing the last reservation.
    void append(const void* data, size_t size);

    void writeAt(uint64_t offset, const void* data, size_t size);

    template <typename T>
    minidump::LocationDescriptor add(const T& value) {
        const uint32_t rva = allocate(sizeof(T));
        writeAt(rva, &value, sizeof(T));
        return {sizeof(T), rva};
    }

    bool ok() const { return ok_; }

  private:
    int fd_;
    uint64_t end_ = 0;
    bool ok_ = true;
};

}  // namespace vanta::crash
