#pragma once

#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace vanta::cli {

// What the shell offers beyond the command tree itself.
struct CompletionWords {
    // For the first positional argument of a command, by its path ("call",
    // "sim stop"): operation names, backend names, ...
    std::map<std::string, std::vector<std::string>> positionals;
    // For the value of an option, by its long name ("--filter").
    std::map<std::string, std::vector<std::string>> option_values;
};

// A bash script (to be sourced) that completes `app`'s subcommands at every
// level, their options, and `words`.
std::string bash_completion_script(const CLI::App& app, const CompletionWords& words);

}  // namespace vanta::cli
