// The built programs together, as people run them: vanta-simulator, then
// vantaapid, poked with vanta-cli. Each case runs in a private /tmp, where the
// programs meet on the device's fixed sockets.

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/descriptor.pb.h>
#include <grpcpp/grpcpp.h>
#include <gtest/gtest.h>

#include "e2e/running_program.h"
#include "grpc_health.grpc.pb.h"
#include "grpc_reflection.grpc.pb.h"
#include "support/wait_until.h"

namespace {

using namespace std::chrono_literals;
using vanta::testing::RunningProgram;

const std::string kApiSocket = "/tmp/vantaapi_service";
const std::string kGatewaySocket = "/tmp/zapigateway";
// The simulator opens its control socket after every backend.
const std::string kSimulatorControlSocket = "/tmp/vanta_simulator_control";

bool is_socket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
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
        ASSERT_TRUE(
            vanta::testing::wait_until([] { return is_socket(kSimulatorControlSocket); }, 15s))
            << "the simulator made no control socket";
        daemon_ = std::make_unique<RunningProgram>(std::vector<std::string>{VANTAAPID_PATH});
        ASSERT_TRUE(vanta::testing::wait_until(
            [] { return is_socket(kApiSocket) && is_socket(kGatewaySocket); }, 15s))
            << "the daemon made no sockets";
    }

    static std::unique_ptr<RunningProgram> watch_events(const std::string& filter) {
        return std::make_unique<RunningProgram>(
            std::vector<std::string>{VANTA_CLI_PATH, "events", "--filter", filter});
    }

    // Runs `command(n)` for n = 1, 2, ... until `events` prints, within three
    // seconds of it, a line matching each of `lines(n)`, in that order; fails
    // when that did not happen within half a minute. The daemon opens its
    // backend streams and its bus subscription while it starts, and again when
    // a backend comes back (whose calls fail meanwhile): what happens before
    // reaches nobody, so the first tries may go unseen.
    static ::testing::AssertionResult repeat_until_seen(
        RunningProgram& events, const std::function<std::vector<std::string>(int n)>& command,
        const std::function<std::vector<std::string>(int n)>& lines) {
        const auto until = std::chrono::steady_clock::now() + 30s;
        CliRun last{};
        for (int n = 1; std::chrono::steady_clock::now() < until; ++n) {
            const size_t first_new = events.lines().size();
            last = vanta_cli(command(n));
            if (last.status != 0) {
                // Polled, like vanta::testing::wait_until, until the call goes through.
                std::this_thread::sleep_for(100ms);
                continue;
            }
            size_t from = first_new;
            bool seen = true;
            for (const std::string& line : lines(n)) {
                const std::regex wanted(line);
                const auto found = events.wait_for_line(
                    [&](const std::string& text) { return std::regex_search(text, wanted); }, 3s,
                    from);
                if (!found) {
                    seen = false;
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

    RunningProgram simulator_{{VANTA_SIMULATOR_PATH}};
    std::unique_ptr<RunningProgram> daemon_;
};

std::vector<std::string> start_meeting(int n) {
    return {"call", "StartMeeting",
            "{\"destination\": \"room-" + std::to_string(n) + "@example.org\"}"};
}
std::vector<std::string> meeting_call_states(int n) {
    const std::string uri = "remote_uri=room-" + std::to_string(n) + "@example\\.org";
    return {"^call_state state=DIALING .*" + uri, "^call_state state=CONNECTED .*" + uri};
}

TEST_F(Device, ActionsBecomeTheirEvents) {
    struct Flow {
        const char* what;
        const char* filter;
        std::function<std::vector<std::string>(int n)> command;
        std::function<std::vector<std::string>(int n)> lines;
    };
    const Flow flows[] = {
        {"a started meeting dials, then connects", "call_state", start_meeting,
         meeting_call_states},
        {"a volume set", "ui_volume_state",
         [](int n) {
             return std::vector<std::string>{"call", "SetVolume",
                                             "{\"volume\": " + std::to_string(30 + n) + "}"};
         },
         [](int n) {
             return std::vector<std::string>{
                 "^ui_volume_state state=VOLUME_CHANGED volume=" + std::to_string(30 + n) + "$"};
         }},
        {"a bus message published", "wifi_status",
         [](int n) {
             return std::vector<std::string>{"publish", "WifiConnectionEvent", "1",
                                             "cable-" + std::to_string(n)};
         },
         [](int n) {
             return std::vector<std::string>{"^wifi_status status=WIFI_DISCONNECTED reason=cable-" +
                                             std::to_string(n) + "$"};
         }},
    };
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        auto events = watch_events(flow.filter);
        EXPECT_TRUE(repeat_until_seen(*events, flow.command, flow.lines));
    }
}

TEST_F(Device, GatewayMuteShowsInTheMuteStatus) {
    const std::vector<std::string> status = {"gateway", "status", "Audio.Microphones.Mute"};
    EXPECT_EQ(vanta_cli(status).output, "{\"value\":\"Off\"}\n");

    const CliRun mute = vanta_cli({"gateway", "command", "Audio.Microphones.Mute"});
    EXPECT_EQ(mute.status, 0);
    EXPECT_NE(mute.output.find("\"statusCode\":200"), std::string::npos) << mute.output;

    const CliRun muted = vanta_cli(status);
    EXPECT_EQ(muted.status, 0);
    EXPECT_EQ(muted.output, "{\"value\":\"On\"}\n");
}

TEST_F(Device, CallStatesResumeOnceTheCallProxyIsBack) {
    auto events = watch_events("call_state");
    ASSERT_TRUE(repeat_until_seen(*events, start_meeting, meeting_call_states));

    const CliRun stop = vanta_cli({"sim", "stop", "callproxy"});
    ASSERT_EQ(stop.status, 0) << stop.output;
    const CliRun refused = vanta_cli(start_meeting(100));
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.output.find("UNAVAILABLE"), std::string::npos) << refused.output;

    const CliRun start = vanta_cli({"sim", "start", "callproxy"});
    ASSERT_EQ(start.status, 0) << start.output;
    EXPECT_TRUE(repeat_until_seen(
        *events, [](int n) { return start_meeting(200 + n); },
        [](int n) { return meeting_call_states(200 + n); }));
}

TEST_F(Device, GenericToolsDiscoverTheApiAndItsHealth) {
    const auto api = grpc::CreateChannel("unix:" + kApiSocket, grpc::InsecureChannelCredentials());
    const auto gateway =
        grpc::CreateChannel("unix:" + kGatewaySocket, grpc::InsecureChannelCredentials());

    using grpc::reflection::v1alpha::ServerReflectionRequest;
    using grpc::reflection::v1alpha::ServerReflectionResponse;
    auto reflection = grpc::reflection::v1alpha::ServerReflection::NewStub(api);
    grpc::ClientContext context;
    context.set_deadline(std::chrono::system_clock::now() + 15s);
    auto info = reflection->ServerReflectionInfo(&context);
    ServerReflectionRequest list;
    list.set_list_services("*");
    ServerReflectionResponse listed;
    ASSERT_TRUE(info->Write(list) && info->Read(&listed));
    std::vector<std::string> services;
    for (const auto& service : listed.list_services_response().service()) {
        services.push_back(service.name());
    }
    EXPECT_NE(std::find(services.begin(), services.end(), "vantaapi.VantaApi"), services.end())
        << ::testing::PrintToString(services);

    // The schema comes with it: a tool needs no file of ours to call.
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

    struct Probe {
        std::shared_ptr<grpc::Channel> channel;
        std::string service;
    };
    for (const Probe& probe : {Probe{api, ""}, Probe{api, "vantaapi.VantaApi"}, Probe{gateway, ""},
                               Probe{gateway, "vanta.zapigateway.ZapiGateway"}}) {
        grpc::ClientContext check;
        check.set_deadline(std::chrono::system_clock::now() + 15s);
        grpc::health::v1::HealthCheckRequest request;
        request.set_service(probe.service);
        grpc::health::v1::HealthCheckResponse response;
        const grpc::Status status =
            grpc::health::v1::Health::NewStub(probe.channel)->Check(&check, request, &response);
        EXPECT_TRUE(status.ok()) << probe.service << ": " << status.error_message();
        EXPECT_EQ(response.status(), grpc::health::v1::HealthCheckResponse::SERVING)
            << "'" << probe.service << "'";
    }
}

TEST_F(Device, SigtermEndsTheDaemonAndItsEventsClientWithStatusZero) {
    RunningProgram events({VANTA_CLI_PATH, "events"});
    ASSERT_TRUE(events.wait_for_text("STREAM_STARTED", 15s)) << events.output();

    daemon_->signal(SIGTERM);
    EXPECT_EQ(daemon_->wait_for_exit(15s), 0);
    EXPECT_EQ(events.wait_for_exit(15s), 0) << events.output();
}

}  // namespace
