#pragma once

#include <cstddef>
#include <cstdint>

namespace vanta::crash {

// One line of /proc/self/maps: "begin-end perms offset dev inode   path".
// `path` points into the parsed line: a file's path (which may hold spaces
// and end in " (deleted)"), a name such as "[stack]", or empty for an
// anonymous mapping.
struct Mapping {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    uint64_t offset = 0;
    uint64_t inode = 0;
    bool readable = false;
    bool executable = false;
    const char* path = nullptr;
    size_t path_length = 0;
};

// Parses one line (without its newline) without allocating, so a signal
// handler may call it. Returns false, leaving `mapping` partly filled, when
// the line does not have that shape.
bool parseMapsLine(const char* line, size_t length, Mapping& mapping);

}  // namespace vanta::crash
