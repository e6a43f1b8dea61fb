// The built vanta-cli as a shell runs it: exit codes and one-line errors,
// events printed through its options, and the bash completion it prints.

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_cases.h"
#include "sim/backend_server.h"
#include "support/data_files.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;

std::string quoted(const std::string& word) {
    std::string text = "'";
    for (const char c : word) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

struct Finished {
    int exit_code;
    std::string out;
    std::string err;
};

// Runs `command` (a shell command line) with its output in `dir`.
Finished run_shell(const TempDir& dir, const std::string& command) {
    const auto out = dir.path() / "out";
    const auto err = dir.path() / "err";
    const int status = std::system((command + " >" + out.string() + " 2>" + err.string()).c_str());
    return Finished{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text(out), read_text(err)};
}

Finished run_cli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = VANTA_CLI_PATH;
    for (const auto& arg : args) {
        command += " " + quoted(arg);
    }
    return run_shell(dir, command);
}

// Failures and refusals are one line on standard error with a non-zero exit;
// events are printed as the options ask until the stream ends.
TEST(CliCommandLine, ExitsAndPrintsAsItsRowsSay) {
    TempDir dir;
    const std::string absent = dir.socket_address("absent");
    const std::string address = dir.socket_address("api");
    SmallApi service;
    sim::BackendServer server(address, {&service});
    const auto rows = cli_cases("command_lines");
    ASSERT_EQ(rows.size(), 9u);
    for (const auto& written : rows) {
        const auto row = nlohmann::json::parse(
            with_placeholders(written.dump(), {{"{absent}", absent}, {"{address}", address}}));
        const Finished run = run_cli(dir, row.at("args"));
        EXPECT_EQ(run.exit_code, row.value("exit_code", 0)) << row["args"];
        EXPECT_EQ(run.err, row.value("err", "")) << row["args"];
        EXPECT_EQ(run.out, row.value("out", "")) << row["args"];
    }
}

TEST(CliCommandLine, BashCompletesCommandsOperationsAndEventCases) {
    TempDir dir;
    const Finished script = run_cli(dir, {"completion", "bash"});
    ASSERT_EQ(script.exit_code, 0) << script.err;
    EXPECT_THAT(script.out, HasSubstr("GetCurrentVolume"));
    write_text(dir.path() / "completion.bash", script.out);

    const auto rows = cli_cases("completions");
    ASSERT_EQ(rows.size(), 7u);
    for (const auto& row : rows) {
        const std::string line = row.at("line");
        const Finished run = run_shell(
            dir, "bash -c " + quoted("source " + (dir.path() / "completion.bash").string() +
                                     "; COMP_WORDS=(" + line +
                                     "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _vanta_cli; "
                                     "echo ${COMPREPLY[@]}"));
        EXPECT_EQ(run.out, row.at("offered").get<std::string>() + "\n") << line << run.err;
    }
}

}  // namespace
}  // namespace vanta::testing
