#pragma once

#include <cstdio>
#include <cstdlib>

// A fuzz target's property: when it does not hold, the target aborts, which
// libFuzzer and the replay both report with the input.
inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz target: %s\n", what);
        std::abort();
    }
}
