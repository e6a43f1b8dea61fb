#pragma once

// Reads "--name value" numbers from a benchmark program's command line.

#include <cstdlib>
#include <string>

namespace vanta::bench {

inline long option(int argc, char** argv, const std::string& name, long fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == "--" + name) {
            return std::strtol(argv[i + 1], nullptr, 10);
        }
    }
    return fallback;
}

}  // namespace vanta::bench
