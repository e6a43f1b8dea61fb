#pragma once

// What the fuzz targets share: the check of their property and the reading of
// their input.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// A fuzz target's property: when it does not hold, the target aborts, which
// libFuzzer and the replay both report with the input.
inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz target: %s\n", what);
        std::abort();
    }
}

// The input up to the first `end`, or all of it; consumed, with the `end`.
inline std::string_view take_until(std::string_view& input, char end) {
    const std::size_t length = std::min(input.find(end), input.size());
    const std::string_view taken = input.substr(0, length);
    input.remove_prefix(std::min(length + 1, input.size()));
    return taken;
}
