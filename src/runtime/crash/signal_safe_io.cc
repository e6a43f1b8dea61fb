#include "runtime/crash/signal_safe_io.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vanta::crash {

namespace {

// Lies at the same address with the same value in a process and its clones.
const uint32_t kProbe = 0x6d656d31;

bool copyThroughKernel(pid_t process, void* destination, uintptr_t source, size_t size) {
    iovec local{destination, size};
    iovec remote{reinterpret_cast<void*>(source), size};
    const long copied = syscall(SYS_process_vm_readv, process, &local, 1UL, &remote, 1UL, 0UL);
    return copied == static_cast<long>(size);
}

char* appendText(char* out, char* end, const char* text) {
    while (out != nullptr && *text != '\0') {
        if (out == end) {
            return nullptr;
        }
        *out++ = *text++;
    }
    return out;
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

bool procPath(pid_t process, const char* entry, char* buffer, size_t size) {
    if (size == 0) {
        return false;
    }
    char* const end = buffer + size - 1;  // room for the terminating zero
    char* out = appendText(buffer, end, "/proc/");
    if (process == 0) {
        out = appendText(out, end, "self");
    } else {
        char digits[12] = {};  // the last one stays the terminating zero
        char* first = digits + sizeof digits - 1;
        auto value = static_cast<unsigned long>(process);
        do {
            *--first = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        out = appendText(out, end, first);
    }
    out = appendText(out, end, "/");
    out = appendText(out, end, entry);
    if (out == nullptr) {
        return false;
    }
    *out = '\0';
    return true;
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

MemoryReader::MemoryReader(pid_t process) : process_(process == 0 ? getpid() : process) {
    uint32_t copy = 0;
    kernel_copy_ =
        copyThroughKernel(process_, &copy, reinterpret_cast<uintptr_t>(&kProbe), sizeof kProbe) &&
        copy == kProbe;
}

bool MemoryReader::read(void* destination, uintptr_t source, size_t size, uintptr_t readable_begin,
                        uintptr_t readable_end) const {
    if (kernel_copy_) {
        return copyThroughKernel(process_, destination, source, size);
    }
    if (source < readable_begin || source > readable_end || size > readable_end - source) {
        return false;
    }
    memcpy(destination, reinterpret_cast<const void*>(source), size);
    return true;
}

}  // namespace vanta::crash
