// The built programs together, as people run them: vanta-simulator, then
// vantaapid, poked with vanta-cli. Each case runs in a private /tmp, where the
// programs meet on the device's fixed sockets. What the command lines do and
// print is the table of steps in e2e_cases.json.

#include <signal.h>

#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/descriptor.pb.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "grpc_reflection.grpc.pb.h"
#include "support/data_files.h"
#include "support/running_program.h"

namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using vanta::testing::RunningProgram;

const std::string kApiSocket = "/tmp/vantaapi_service";

// `text` with every "{n}" replaced by `n`.
std::string numbered(const std::string& text, int n) {
    return vanta::testing::with_placeholders(text, {{"{n}", std::to_string(n)}});
}

struct CliRun {
    int status;
    std::string output;
};

CliRun vanta_cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), VANTA_CLI_PATH);
    RunningProgram cli(arguments);
    const auto status = cli.wait_for_exit(15s);
    return {status.value_or(-1), cli.output()};
}

// The simulator and the daemon, both started and serving.
class Device : public ::testing::Test {
  protected:
    void SetUp() override {
        // The simulator opens its control socket after every backend.
        ASSERT_TRUE(vanta::testing::socket_appears("/tmp/vanta_simulator_control", 15s))
            << "the simulator made no control socket";
        daemon_ = std::make_unique<RunningProgram>(std::vector<std::string>{VANTAAPID_PATH});
        ASSERT_TRUE(vanta::testing::socket_appears(kApiSocket, 15s) &&
                    vanta::testing::socket_appears("/tmp/zapigateway", 15s))
            << "the daemon made no sockets";
    }

    RunningProgram simulator_{{VANTA_SIMULATOR_PATH}};
    std::unique_ptr<RunningProgram> daemon_;
};

// Runs the flow's command, with n = 1, 2, ... in place of "{n}", until
// `events` prints, within three seconds of it, a line matching each of its
// lines, in that order; fails when that did not happen within half a minute.
// The daemon opens its backend streams and its bus subscription while it
// starts: what happens before reaches nobody, so the first tries may go
// unseen.
::testing::AssertionResult repeat_until_seen(RunningProgram& events, const json& flow) {
    const auto until = std::chrono::steady_clock::now() + 30s;
    CliRun last{};
    for (int n = 1; std::chrono::steady_clock::now() < until; ++n) {
        const size_t first_new = events.lines().size();
        std::vector<std::string> command;
        for (const std::string argument : flow.at("command")) {
            command.push_back(numbered(argument, n));
        }
        last = vanta_cli(command);
        if (last.status != 0) {
            // Polled, like vanta::testing::wait_until, until the call goes through.
            std::this_thread::sleep_for(100ms);
            continue;
        }
        size_t from = first_new;
        bool seen = true;
        for (const std::string line : flow.at("lines")) {
            const std::regex wanted(numbered(line, n));
            const auto found = events.wait_for_line(
                [&](const std::string& text) { return std::regex_search(text, wanted); }, 3s, from);
            seen = found.has_value();
            if (!seen) {
                break;
            }
            from = *found + 1;
        }
        if (seen) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
           << "last command ended with " << last.status << ": " << last.output << "events:\n"
           << events.output();
}

// The steps of e2e_cases.json in turn on one device: what vanta-cli is told
// to do shows in the daemon's events, and what it prints is what the
// simulated device answered.
TEST_F(Device, CommandLinesDoAndPrintWhatTheirStepsSay) {
    const json steps = vanta::testing::read_json(E2E_CASES_FILE).at("steps");
    ASSERT_EQ(steps.size(), 10u);
    for (const json& step : steps) {
        SCOPED_TRACE(step.dump());
        if (step.contains("lines")) {
            RunningProgram events({VANTA_CLI_PATH, "events", "--filter", step.at("filter")});
            EXPECT_TRUE(repeat_until_seen(events, step));
        } else {
            const CliRun done = vanta_cli(step.at("args"));
            EXPECT_EQ(done.status, step.value("status", 0));
            EXPECT_EQ(done.output, step.at("output"));
        }
    }
}

// The API's schema is served by reflection: a generic tool needs no file of
// ours to call it. (That every service the daemon hosts answers health probes
// is the gRPC server's test's.)
TEST_F(Device, ReflectionDescribesTheApi) {
    using grpc::reflection::v1alpha::ServerReflectionRequest;
    using grpc::reflection::v1alpha::ServerReflectionResponse;
    auto reflection = grpc::reflection::v1alpha::ServerReflection::NewStub(
        grpc::CreateChannel("unix:" + kApiSocket, grpc::InsecureChannelCredentials()));
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 15s);
    auto info = reflection->ServerReflectionInfo(&context);
    ServerReflectionRequest schema;
    schema.set_file_containing_symbol("vantaapi.VantaApi");
    ServerReflectionResponse described;
    ASSERT_TRUE(info->Write(schema) && info->Read(&described));
    bool subscribe_described = false;
    for (const auto& bytes : described.file_descriptor_response().file_descriptor_proto()) {
        google::protobuf::FileDescriptorProto file;
        ASSERT_TRUE(file.ParseFromString(bytes));
        for (const auto& service : file.service()) {
            for (const auto& method : service.method()) {
                subscribe_described |= service.name() == "VantaApi" &&
                                       method.name() == "Subscribe" && method.server_streaming();
            }
        }
    }
    EXPECT_TRUE(subscribe_described);
    info->WritesDone();
}

// The events client takes the end of the daemon's stream as the end of its
// work.
TEST_F(Device, SigtermEndsTheDaemonAndItsEventsClientWithStatusZero) {
    RunningProgram events({VANTA_CLI_PATH, "events"});
    ASSERT_TRUE(events.wait_for_text("STREAM_STARTED", 15s)) << events.output();

    daemon_->signal(SIGTERM);
    EXPECT_EQ(daemon_->wait_for_exit(15s), 0);
    EXPECT_EQ(events.wait_for_exit(15s), 0) << events.output();
}

}  // namespace
