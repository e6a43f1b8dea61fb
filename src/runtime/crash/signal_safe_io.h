#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// Reading files and this process's own memory with system calls only, into
// buffers the caller owns, so that a signal handler may use them.
namespace vanta::crash {

// open(O_RDONLY | O_CLOEXEC), retried when a signal interrupts it.
int openReadOnly(const char* path);

// read(), retried when a signal interrupts it.
ssize_t readRetrying(int fd, void* buffer, size_t size);

// Writes "/proc/<process>/<entry>" ("/proc/self/<entry>" for process 0) into
// `buffer`. False when it does not fit.
bool procPath(pid_t process, const char* entry, char* buffer, size_t size);

// Splits a file into lines with a fixed buffer. A line longer than the buffer
// is returned cut to the buffer's size; the rest of it is skipped.
class LineReader {
  public:
    LineReader(int fd, char* buffer, size_t capacity)
        : fd_(fd), buffer_(buffer), capacity_(capacity) {}

    // The next line, without its newline; false at the end of the file.
    bool next(const char*& line, size_t& length);

  private:
    int fd_;
    char* buffer_;
    size_t capacity_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool end_of_file_ = false;
    bool skipping_ = false;
};

// Reads memory of a process: this one (0), or the one this process was cloned
// from at a crash. The kernel's copy turns an unreadable page into an error
// instead of a second fault inside the signal handler. Where the kernel
// refuses it, this process's own memory is copied instead (for a clone, the
// copy it took when cloned), and only inside the readable range the caller
// names (a mapping that the maps show readable).
class MemoryReader {
  public:
    explicit MemoryReader(pid_t process = 0);

    bool read(void* destination, uintptr_t source, size_t size, uintptr_t readable_begin,
              uintptr_t readable_end) const;

  private:
    pid_t process_;
    bool kernel_copy_ = false;
};

}  // namespace vanta::crash
