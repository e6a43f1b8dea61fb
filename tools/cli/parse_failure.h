#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace vanta::cli {

// The one line that explains why CLI11 refused the command line of `app`.
// A word where a subcommand belongs is named with the close subcommands
// ("unknown command 'evnts'; close names: events") or all of them; other
// refusals keep CLI11's text and point at --help.
std::string parse_failure_text(const CLI::App& app, const CLI::ParseError& error);

}  // namespace vanta::cli
