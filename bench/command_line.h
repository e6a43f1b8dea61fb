#pragma once

// Reads "--name value" options from a benchmark program's command line.

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vanta::bench {

inline long option(int argc, char** argv, const std::string& name, long fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == "--" + name) {
            return std::strtol(argv[i + 1], nullptr, 10);
        }
    }
    return fallback;
}

// A comma-separated list ("--targets proxy,daemon"); `fallback` when absent.
inline std::vector<std::string> option_list(int argc, char** argv, const std::string& name,
                                            std::vector<std::string> fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == "--" + name) {
            std::vector<std::string> items;
            std::istringstream text(argv[i + 1]);
            for (std::string item; std::getline(text, item, ',');) {
                items.push_back(item);
            }
            return items;
        }
    }
    return fallback;
}

}  // namespace vanta::bench
