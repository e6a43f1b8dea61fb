#include "runtime/crash/proc_maps.h"

#include <cstring>

namespace vanta::crash {

namespace {

const char* parseNumber(const char* text, const char* end, unsigned base, uint64_t& value) {
    value = 0;
    const char* start = text;
    for (; text < end; ++text) {
        unsigned digit;
        if (*text >= '0' && *text <= '9') {
            digit = static_cast<unsigned>(*text - '0');
        } else if (base == 16 && *text >= 'a' && *text <= 'f') {
            digit = static_cast<unsigned>(*text - 'a' + 10);
        } else {
            break;
        }
        value = value * base + digit;
    }
    return text == start ? nullptr : text;
}

const char* expect(const char* text, const char* end, char wanted) {
    return text != nullptr && text < end && *text == wanted ? text + 1 : nullptr;
}

}  // namespace

bool parseMapsLine(const char* line, size_t length, Mapping& mapping) {
    const char* end = line + length;
    uint64_t begin = 0;
    uint64_t limit = 0;
    const char* text = expect(parseNumber(line, end, 16, begin), end, '-');
    text = text != nullptr ? expect(parseNumber(text, end, 16, limit), end, ' ') : nullptr;
    if (text == nullptr || end - text < 5) {
        return false;
    }
    mapping.begin = static_cast<uintptr_t>(begin);
    mapping.end = static_cast<uintptr_t>(limit);
    mapping.readable = text[0] == 'r';
    mapping.executable = text[2] == 'x';
    text = expect(text + 4, end, ' ');
    text = text != nullptr ? expect(parseNumber(text, end, 16, mapping.offset), end, ' ') : nullptr;
    if (text == nullptr) {
        return false;
    }
    text = static_cast<const char*>(memchr(text, ' ', static_cast<size_t>(end - text)));  // device
    text = text != nullptr ? parseNumber(text + 1, end, 10, mapping.inode) : nullptr;
    if (text == nullptr) {
        return false;
    }
    while (text < end && *text == ' ') {
        ++text;
    }
    mapping.path = text;
    mapping.path_length = static_cast<size_t>(end - text);
    return true;
}

}  // namespace vanta::crash
