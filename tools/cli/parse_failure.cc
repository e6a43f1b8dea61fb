#include "parse_failure.h"

#include <vector>

#include "name_suggestions.h"

namespace vanta::cli {

std::string parse_failure_text(const CLI::App& app, const CLI::ParseError& error) {
    // The deepest subcommand the words named so far.
    const CLI::App* level = &app;
    std::string command = app.get_name();
    for (auto parsed = level->get_subcommands(); !parsed.empty();
         parsed = level->get_subcommands()) {
        level = parsed.front();
        command += " " + level->get_name();
    }
    const auto unused = app.remaining();
    const bool wanted_subcommand = level->get_require_subcommand_min() > 0 &&
                                   level->get_subcommands().empty() && !unused.empty();
    if (!wanted_subcommand) {
        return std::string(error.what()) + " (see " + command + " --help)";
    }
    std::vector<std::string> names;
    std::string listed;
    for (const CLI::App* sub : level->get_subcommands([](const CLI::App*) { return true; })) {
        names.push_back(sub->get_name());
        listed += (listed.empty() ? "" : ", ") + sub->get_name();
    }
    return unknown_name_text("command", unused.front(), names,
                             "the commands of " + command + " are " + listed);
}

}  // namespace vanta::cli
