// The built vanta-cli as a shell runs it: exit codes and one-line errors,
// events printed through its options, and the bash completion it prints.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/backend_server.h"
#include "support/temp_dir.h"
#include "vantaapi.grpc.pb.h"

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

std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
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
    return Finished{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
}

Finished run_cli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = VANTA_CLI_PATH;
    for (const auto& arg : args) {
        command += " " + quoted(arg);
    }
    return run_shell(dir, command);
}

// Sends three events on every subscription, then ends the stream.
class EventsApi final : public vantaapi::VantaApi::Service {
  public:
    grpc::Status Subscribe(
        grpc::ServerContext*,
        grpc::ServerReaderWriter<vantaapi::VantaEvent, vantaapi::SubscriptionRequest>* stream)
        override {
        vantaapi::VantaEvent event;
        event.mutable_subscription_status()->set_status(
            vantaapi::VantaApiSubscriptionStatus::STREAM_STARTED);
        stream->Write(event);
        event.mutable_new_ui_volume_state()->set_volume("35");
        stream->Write(event);
        event.mutable_new_ui_mute_state()->set_state(vantaapi::UiMuteState::MUTE_ENABLED);
        stream->Write(event);
        return grpc::Status::OK;
    }
};

class CliCommandLineTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("api");
    std::string absent_ = dir_.socket_address("absent");
};

TEST_F(CliCommandLineTest, RefusalsAndFailuresAreOneLineWithANonZeroExit) {
    struct Case {
        std::vector<std::string> args;
        int exit_code;
        std::string line;
    };
    const Case cases[] = {
        {{"--address", absent_, "call", "UXWakeUp"},
         1,
         "vanta-cli: UNAVAILABLE: daemon not reachable at " + absent_},
        {{"--address", absent_, "events"},
         1,
         "vanta-cli: UNAVAILABLE: daemon not reachable at " + absent_},
        {{"gateway", "--address", absent_, "status", "Audio.Microphones.Mute"},
         1,
         "vanta-cli: UNAVAILABLE: daemon not reachable at " + absent_},
        {{"--address", absent_, "sim", "stop", "callproxy"},
         1,
         "vanta-cli: UNAVAILABLE: simulator not reachable at " + absent_},
        {{"--address", absent_, "call", "SetVolum"},
         2,
         "vanta-cli: unknown operation 'SetVolum'; close names: SetVolume"},
        {{"--address", absent_, "call", "UXWakeUp", "{\"trigger\" \"BUTTON\"}"},
         2,
         "vanta-cli: bad JSON at line 1, column 19: syntax error while parsing object "
         "separator - unexpected string literal; expected ':'"},
        {{"--address", absent_, "events", "--filter", "call_stat"},
         2,
         "vanta-cli: unknown event case 'call_stat'; close names: call_state"},
        {{"evnts"}, 2, "vanta-cli: unknown command 'evnts'; close names: events"},
    };
    for (const auto& c : cases) {
        const Finished run = run_cli(dir_, c.args);
        EXPECT_EQ(run.exit_code, c.exit_code) << c.line;
        EXPECT_EQ(run.err, c.line + "\n");
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CliCommandLineTest, PrintsTheEventsItsOptionsAskForUntilTheStreamEnds) {
    EventsApi service;
    sim::BackendServer server(address_, {&service});
    struct Case {
        std::vector<std::string> options;
        std::string out;
    };
    const Case cases[] = {
        {{},
         "subscription_status status=STREAM_STARTED\n"
         "ui_volume_state volume=35\n"
         "ui_mute_state state=MUTE_ENABLED\n"},
        {{"--filter", "ui_mute_state,ui_volume_state", "--count", "1"},
         "ui_volume_state volume=35\n"},
        {{"--json", "--filter", "ui_mute_state"},
         R"({"newUiMuteState":{"state":"MUTE_ENABLED"}})"
         "\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--address", address_, "events"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Finished run = run_cli(dir_, args);
        EXPECT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

TEST_F(CliCommandLineTest, BashCompletesCommandsOperationsAndEventCases) {
    const Finished script = run_cli(dir_, {"completion", "bash"});
    ASSERT_EQ(script.exit_code, 0) << script.err;
    EXPECT_THAT(script.out, HasSubstr("GetCurrentVolume"));
    std::ofstream(dir_.path() / "completion.bash") << script.out;

    struct Case {
        std::string line;  // the words typed, the last one being completed
        std::string offered;
    };
    const Case cases[] = {
        {"vanta-cli ev", "events"},
        {"vanta-cli --address unix:/x call UXW", "UXWakeUp"},
        {"vanta-cli call UXWakeUp UXW", ""},
        {"vanta-cli events --json --filter ui_vol", "ui_volume_state"},
        {"vanta-cli gateway s", "status schemas"},
        {"vanta-cli sim stop volumemgr", "volumemgr_service"},
        {"vanta-cli events --co", "--count"},
    };
    for (const auto& c : cases) {
        const Finished run = run_shell(
            dir_, "bash -c " + quoted("source " + (dir_.path() / "completion.bash").string() +
                                      "; COMP_WORDS=(" + c.line +
                                      "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _vanta_cli; "
                                      "echo ${COMPREPLY[@]}"));
        EXPECT_EQ(run.out, c.offered + "\n") << c.line << run.err;
    }
}

}  // namespace
}  // namespace vanta::testing
