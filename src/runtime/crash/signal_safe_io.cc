#include "runtime/crash/signal_safe_io.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vanta::crash {

namespace {

bool copyThroughKernel(void* destination, uintptr_t source, size_t size) {
    iovec local{destination, size};
    iovec remote{reinterpret_cast<void*>(source), size};
    const long copied = syscall(SYS_process_vm_readv, getpid(), &local, 1UL, &remote, 1UL, 0UL);
    return copied == static_cast<long>(size);
}

}  // namespace

int openReadOnly(const char* path) {
    int fd;
    do {
        fd = open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t readRetrying(int fd, void* buffer, size_t size) {
    ssize_t result;
    do {
        result = read(fd, buffer, size);
    } while (result < 0 && errno == EINTR);
    return result;
}

bool LineReader::next(const char*& line, size_t& length) {
    for (;;) {
        char* newline = static_cast<char*>(memchr(buffer_ + begin_, '\n', end_ - begin_));
        if (newline != nullptr) {
            const size_t line_begin = begin_;
            begin_ = static_cast<size_t>(newline - buffer_) + 1;
            if (skipping_) {
                skipping_ = false;
                continue;
            }
            line = buffer_ + line_begin;
            length = static_cast<size_t>(newline - line);
            return true;
        }
        if (end_of_file_) {
            if (begin_ == end_ || skipping_) {
                return false;
            }
            line = buffer_ + begin_;
            length = end_ - begin_;
            begin_ = end_;
            return true;
        }
        if (begin_ > 0) {
            memmove(buffer_, buffer_ + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == capacity_) {
            line = buffer_;
            length = capacity_;
            begin_ = end_ = 0;
            const bool already_skipping = skipping_;
            skipping_ = true;
            if (!already_skipping) {
                return true;
            }
            continue;
        }
        const ssize_t count = readRetrying(fd_, buffer_ + end_, capacity_ - end_);
        if (count <= 0) {
            end_of_file_ = true;
        } else {
            end_ += static_cast<size_t>(count);
        }
    }
}

MemoryReader::MemoryReader() {
    const uint32_t probe = 0x6d656d31;
    uint32_t copy = 0;
    kernel_copy_ = copyThroughKernel(&copy, reinterpret_cast<uintptr_t>(&probe), sizeof probe) &&
                   copy == probe;
}

bool MemoryReader::read(void* destination, uintptr_t source, size_t size, uintptr_t readable_begin,
                        uintptr_t readable_end) const {
    if (kernel_copy_) {
        return copyThroughKernel(destination, source, size);
    }
    if (source < readable_begin || source > readable_end || size > readable_end - source) {
        return false;
    }
    memcpy(destination, reinterpret_cast<const void*>(source), size);
    return true;
}

}  // namespace vanta::crash
