// The built programs together, as people run them: vanta-simulator, then
// vantaapid, poked with vanta-cli. Each case runs in a private /tmp, where the
// programs meet on the device's fixed sockets. What the command lines do and
// print is the table in e2e_cases.json.

#include <signal.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <google/protobuf/descriptor.pb.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "grpc_health.grpc.pb.h"
#include "grpc_reflection.grpc.pb.h"
#include "support/running_program.h"

namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using vanta::testing::RunningProgram;

const std::string kApiSocket = "/tmp/vantaapi_service";

json e2e_cases() {
    std::ifstream file(E2E_CASES_FILE);
    return json::parse(file);
}

// `text` with every "{n}" replaced by `n`.
std::string numbered(std::string text, int n) {
    for (size_t at; (at = text.find("{n}")) != std::string::npos;) {
        text.replace(at, 3, std::to_string(n));
    }
    return text;
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

TEST_F(Device, ActionsBecomeTheirEvents) {
    const json flows = e2e_cases().at("flows");
    ASSERT_EQ(flows.size(), 3u);
    for (const json& flow : flows) {
        SCOPED_TRACE(flow.at("what").get<std::string>());
        RunningProgram events({VANTA_CLI_PATH, "events", "--filter", flow.at("filter")});
        EXPECT_TRUE(repeat_until_seen(events, flow));
    }
}

// The gateway's mute reaches the simulated volume manager through the
// daemon's API and shows in its status; a call control the simulator stopped
// refuses calls until it starts again, and then takes them, their call
// states reaching the daemon's events again.
TEST_F(Device, CommandLinesRunInTurnPrintWhatTheirRowsSay) {
    const json cases = e2e_cases();
    const json& runs = cases.at("cli_runs");
    ASSERT_EQ(runs.size(), 6u);
    for (const json& run : runs) {
        const CliRun done = vanta_cli(run.at("args"));
        EXPECT_EQ(done.status, run.value("status", 0)) << run["args"];
        EXPECT_EQ(done.output, run.at("output")) << run["args"];
    }
    const json& after = cases.at("flow_after_cli_runs");
    SCOPED_TRACE(after.at("what").get<std::string>());
    RunningProgram events({VANTA_CLI_PATH, "events", "--filter", after.at("filter")});
    EXPECT_TRUE(repeat_until_seen(events, after));
}

// The API's schema is served by reflection: a generic tool needs no file of
// ours to call it. Both services answer health probes.
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

    for (const auto& [socket, service] :
         {std::pair(kApiSocket, "vantaapi.VantaApi"),
          std::pair(std::string("/tmp/zapigateway"), "vanta.zapigateway.ZapiGateway")}) {
        grpc::ClientContext check;
        check.set_deadline(std::chrono::system_clock::now() + 15s);
        grpc::health::v1::HealthCheckRequest request;
        request.set_service(service);
        grpc::health::v1::HealthCheckResponse response;
        const grpc::Status status =
            grpc::health::v1::Health::NewStub(
                grpc::CreateChannel("unix:" + socket, grpc::InsecureChannelCredentials()))
                ->Check(&check, request, &response);
        EXPECT_TRUE(status.ok()) << service << ": " << status.error_message();
        EXPECT_EQ(response.status(), grpc::health::v1::HealthCheckResponse::SERVING) << service;
    }
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
