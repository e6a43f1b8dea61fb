#include "runtime/crash/dump_file.h"

#include <unistd.h>

#include <cerrno>

namespace vanta::crash {

uint32_t DumpFile::allocate(size_t size) {
    end_ = (end_ + 7) & ~uint64_t{7};
    const uint64_t rva = end_;
    end_ += size;
    if (end_ > UINT32_MAX) {
        ok_ = false;
    }
    return static_cast<uint32_t>(rva);
}

void DumpFile::append(const void* data, size_t size) {
    writeAt(end_, data, size);
    end_ += size;
}

void DumpFile::writeAt(uint64_t offset, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0 && ok_) {
        const ssize_t written = pwrite(fd_, bytes, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            ok_ = false;
            break;
        }
        bytes += written;
        offset += static_cast<uint64_t>(written);
        size -= static_cast<size_t>(written);
    }
}

}  // namespace vanta::crash
