// What the handlers do beyond passing fields through (pass_through_test.cc)
// and beyond the answers with no backend at all (no_backend_test.cc): their
// log lines, the failures of a second backend call, the client's deadline,
// the capability checks and the caller's trace; and the operations served by
// the platform, the problem-report services and the tone player. Every
// backend is simulated on its device socket; each case runs in a private
// /tmp.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_call.h"
#include "api_harness.h"
#include "audio/tone_player.h"
#include "device_backends.h"
#include "platform/device_identity.h"
#include "platform/manufacturing_data.h"
#include "platform/platform_info.h"
#include "platform/system_version.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HandlerCases : public ::testing::Test {
  protected:
    // Whether a line after the first `skipped` ones contains `text`.
    bool logged(const std::string& text, size_t skipped = 0) const {
        return wait_until(
            [&] {
                const auto lines = console_.lines();
                return std::any_of(
                    lines.begin() + std::min(skipped, lines.size()), lines.end(),
                    [&](const std::string& line) { return line.find(text) != std::string::npos; });
            },
            5s);
    }
    ApiAnswer call(const std::string& operation, const std::string& request = "") {
        return call_api(*channel_, operation, request);
    }

    ConsoleCapture console_;
    DeviceBackends backends_;
    ApiHarness api_;
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials());
};

// One operation in a prepared situation, and what it must log and answer.
struct Case {
    std::string operation;
    std::string request;
    std::function<void(DeviceBackends&)> prepare;
    std::string log_line;  // a line of the log that contains this text
    grpc::StatusCode code;
    std::string answer;  // the response with OK, the message otherwise
};

TEST_F(HandlerCases, LogLinesAndFailuresOfTheSecondCall) {
    using Code = grpc::StatusCode;
    const grpc::Status unavailable(Code::UNAVAILABLE, "restarting");
    const std::vector<Case> cases = {
        {"DeclineMeeting", "meeting_id: 21", [](DeviceBackends&) {},
         "VantaApi I: DeclineMeeting called for meeting id 21", Code::OK, "success: true"},
        // A refusal of a newer call-proxy operation is no answer either.
        {"StartRecording", "id: 3",
         [](DeviceBackends& b) {
             b.calling.fail("StartRecording", grpc::Status(Code::NOT_FOUND, "no meeting"));
         },
         "", Code::UNAVAILABLE, "StartRecording callproxy FAILED"},
        {"GetShareStatistics", "meeting_id: 4",
         [](DeviceBackends& b) {
             b.script("calling.GetShareDirection", "direction: INCOMING_SHARE");
         },
         "VantaApi I: Updated Rx Stats..", Code::OK, "meeting_id: 4"},
        {"GetShareStatistics", "meeting_id: 4",
         [&](DeviceBackends& b) {
             b.script("calling.GetShareDirection", "direction: OUTGOING_SHARE");
             b.calling.fail("GetShareTxStatistics", unavailable);
         },
         "VantaApi I: Received Direction: 2", Code::UNAVAILABLE,
         "GetShareTxStatistics callproxy FAILED"},
        {"GetShareStatistics", "meeting_id: 4",
         [&](DeviceBackends& b) {
             b.script("calling.GetShareDirection", "direction: INCOMING_SHARE");
             b.calling.fail("GetShareRxStatistics", unavailable);
         },
         "VantaApi I: Received Direction: 1", Code::UNAVAILABLE,
         "GetShareRxStatistics callproxy FAILED"},
        {"GetNetworkStatusReport", "",
         [](DeviceBackends& b) {
             b.script("networkstatusreporter.GetNetworkStatusReport", "");
             b.script("networkmanager.GetInterfaceInfo", "interface_state: LINK_STATE_UP");
         },
         "VantaApi I: GetNetworkStatusReport: ethernet running", Code::OK, "ethernet_up: true"},
        {"GetNetworkStatusReport", "",
         [](DeviceBackends& b) {
             b.script("networkstatusreporter.GetNetworkStatusReport", "");
             b.script("networkmanager.GetInterfaceInfo", "interface_state: LINK_STATE_DOWN");
         },
         "VantaApi I: GetNetworkStatusReport: ethernet not-running", Code::OK, ""},
        // Without the network manager's answer the report still goes out.
        {"GetNetworkStatusReport", "",
         [&](DeviceBackends& b) {
             b.script("networkstatusreporter.GetNetworkStatusReport", "error: NO_ETH0_LINK");
             b.networkmanager.fail_with(Code::INVALID_ARGUMENT);
         },
         "VantaApi ERROR: GetNetworkStatusReport: failed to call GetInterfaceInfo", Code::OK,
         "error: NO_ETH0_LINK"},
        {"GetGlintServiceMap", "",
         [&](DeviceBackends& b) { b.nimboconfigmanager.fail_with(unavailable); },
         "VantaApi ERROR: Failed to get service map from configuration", Code::OK, ""},
        // Guarded with a log.
        {"GetTimezone", "", [&](DeviceBackends& b) { b.configmanager.fail_with(unavailable); },
         "VantaApi ERROR: GetTimezone: Caught config_manager_client exception: "
         "Config Manager::GetTimezone: UNAVAILABLE - [restarting]",
         Code::UNAVAILABLE, "GetTimezone: configmanager client FAILED"},
        {"StopRinger", "", [&](DeviceBackends& b) { b.ringer.fail_with(unavailable); },
         "VantaApi ERROR: StopRinger: Caught ringer_client exception: "
         "Ringer Service::StopRinger: UNAVAILABLE - [restarting]",
         Code::UNAVAILABLE, "StopRinger ringer client FAILED"},
        {"Shutdown", "", [&](DeviceBackends& b) { b.reset.fail_with(unavailable); },
         "VantaApi ERROR: Shutdown: Caught reset_client exception: "
         "ResetService::Shutdown: UNAVAILABLE - [restarting]",
         Code::UNAVAILABLE, "resetclient: Shutdown failed"},
        // The failures that a default request cannot reach.
        {"SetBeaconStatus", "status: ENABLED",
         [&](DeviceBackends& b) { b.nimboultrasound.fail_with(unavailable); }, "",
         Code::UNAVAILABLE, "Nimbo Ultrasound: enable client FAILED"},
        {"GetAllFeatures", "",
         [](DeviceBackends& b) {
             b.script("featuremanager.GetAllFeatures", "features { feature_name: 'a' }");
         },
         "", Code::UNAVAILABLE, "CHECK failed: (index) < (current_size_): "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation + "(" + c.request + ") " + c.log_line);
        const size_t skipped = console_.lines().size();
        try {
            c.prepare(backends_);
            const ApiAnswer answer = call(c.operation, c.request);
            EXPECT_EQ(answer.status.error_code(), c.code) << answer.status.error_message();
            if (answer.status.ok()) {
                EXPECT_EQ(answer.response, normalized_answer(c.operation, c.answer));
            } else {
                EXPECT_EQ(answer.status.error_message(), c.answer);
            }
            if (!c.log_line.empty()) {
                EXPECT_TRUE(logged(c.log_line, skipped));
            }
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        for (auto* backend : std::initializer_list<sim::ScriptedBackend*>{
                 &backends_.networkmanager, &backends_.nimboconfigmanager, &backends_.configmanager,
                 &backends_.ringer, &backends_.reset, &backends_.nimboultrasound}) {
            backend->fail_with(grpc::Status::OK);
        }
        for (const char* operation :
             {"StartRecording", "GetShareTxStatistics", "GetShareRxStatistics"}) {
            backends_.calling.fail(operation, grpc::Status::OK);
        }
    }
}

// Requests outside what the schemas mean: an enumeration's reserved lowest or
// highest value is refused by the conversion before any backend is asked; a
// message above gRPC's 4 MB limit never reaches the service. Either fails
// that call only.
TEST_F(HandlerCases, RequestsOutsideTheSchemasFailOnlyThemselves) {
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"SetAudioMute", "mute_state: true method: 2147483647"},
        {"StartMeeting", "destination: 'sip:room@example' start_method: -2147483648"},
        {"SendDTMF", "meeting_id: 6 dtmf_digit: 2147483647"},
        {"SetAudioPath", "index: 1 device: -2147483648"},
    };
    const auto marks = backends_.marks();
    for (const auto& [operation, request] : refused) {
        const ApiAnswer answer = call(operation, request);
        EXPECT_EQ(answer.status.error_code(), grpc::StatusCode::UNKNOWN) << operation;
        EXPECT_EQ(answer.status.error_message(), "Unexpected error in RPC handling") << operation;
    }
    const ApiAnswer oversized =
        call("StartMeeting", "destination: '" + std::string(5 << 20, 'r') + "'");
    EXPECT_EQ(oversized.status.error_code(), grpc::StatusCode::RESOURCE_EXHAUSTED);
    EXPECT_THAT(backends_.calls_since(marks), IsEmpty());

    backends_.script("volumemgr.SetAudioMute", "is_mute: true");
    EXPECT_TRUE(call("SetAudioMute", "mute_state: true").status.ok());
}

TEST_F(HandlerCases, NetworkManagerCallsCarryTheServicesCallerLabel) {
    ASSERT_TRUE(call("GetNetworkStatusReport").status.ok());
    EXPECT_EQ(backends_.networkmanager.last_caller(), "vantaapi");
}

TEST_F(HandlerCases, AGuardedCallPastItsClientsDeadlineAnswersDeadlineExceeded) {
    // The volume manager's calls have 2 s.
    backends_.volumemgr.delay_answers(2500ms);
    const ApiAnswer answer = call("IsAudioHubEnabled");
    EXPECT_EQ(answer.status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(answer.status.error_message(),
              "IsAudioHubEnabled: [VolumeManager::IsAudioHubEnabled: DEADLINE_EXCEEDED - "
              "[Deadline Exceeded]]");
}

TEST_F(HandlerCases, OperationsThisModelLacksAskNoBackend) {
    const auto marks = backends_.marks();
    for (const char* operation :
         {"GetKrellDeviceConfigs", "GetKRELLTftpAddress", "GetKRELLDeviceConfigValue",
          "GetHdmiState", "GetLocalWiredShareStatistics"}) {
        SCOPED_TRACE(operation);
        EXPECT_EQ(call(operation).status.error_code(), grpc::StatusCode::UNIMPLEMENTED);
    }
    EXPECT_THAT(backends_.calls_since(marks), IsEmpty());
}

// A reported span of `operation`, once the tracer has written it.
nlohmann::json reported_span(const ConsoleCapture& console, const std::string& operation) {
    const std::string prefix = "[TRACING] I: ";
    nlohmann::json found;
    wait_until(
        [&] {
            for (const std::string& line : console.lines()) {
                if (line.rfind(prefix, 0) == 0) {
                    auto span = nlohmann::json::parse(line.substr(prefix.size()));
                    if (span["Operation Name"] == operation) {
                        found = span;
                        return true;
                    }
                }
            }
            return false;
        },
        5s);
    return found;
}

std::string metadata_value(const sim::CallingBackend::Call& call, const std::string& key) {
    const auto found = call.metadata.find(key);
    return found == call.metadata.end() ? "" : found->second;
}

// The handler's span is a child of the caller's, the client's span a child of
// the handler's, and the client's span travels to the backend. Untraced
// operations carry no trace.
TEST_F(HandlerCases, StartMeetingContinuesTheCallersTrace) {
    grpc::ClientContext context;
    context.AddMetadata("trace_id", "42");
    context.AddMetadata("span_id", "7");
    vantaapi::MeetingInfo response;
    ASSERT_TRUE(api_.client()->StartMeeting(&context, {}, &response).ok());
    ASSERT_TRUE(call("HoldMeeting").status.ok());

    const auto handler = reported_span(console_, "VantaApiServer::StartMeeting");
    ASSERT_FALSE(handler.is_null());
    EXPECT_EQ(handler["Trace ID"], "42");
    EXPECT_EQ(handler["Parent ID"], "7");
    EXPECT_NE(handler["Span ID"], "7");
    const auto client = reported_span(console_, "CallingClient::StartMeeting");
    ASSERT_FALSE(client.is_null());
    EXPECT_EQ(client["Trace ID"], "42");
    EXPECT_EQ(client["Parent ID"], handler["Span ID"]);
    const auto calls = backends_.calling.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(metadata_value(calls[0], "trace_id"), "42");
    EXPECT_EQ(metadata_value(calls[0], "span_id"), client["Span ID"]);
    EXPECT_EQ(metadata_value(calls[1], "trace_id"), "");
}

// Platform, problem reports and tones.

TEST_F(HandlerCases, SystemInfoComesFromThePlatform) {
    const ApiAnswer answer = call("GetSystemInfo");
    ASSERT_TRUE(answer.status.ok());
    vantaapi::SystemInfo expected;
    expected.set_software_name("Vanta");
    expected.set_ua_version(platform::get_system_version());
    expected.set_product_name(platform::get_product_name());
    expected.set_model_name(platform::get_model_name());
    expected.set_hardware_version(platform::get_mfg_device_hardware_ver());
    expected.set_device_serial_number(platform::get_mfg_device_serial_number());
    expected.set_device_identifier(deviceidentifier::get_device_identifier(
        platform::get_mfg_device_wifi_mac_addr(), expected.device_serial_number()));
    EXPECT_EQ(answer.response, expected.ShortDebugString());
}

TEST_F(HandlerCases, InterfaceInfoAndUrlTestAnswerWhatThePlatformFinds) {
    EXPECT_EQ(call("GetInterfaceInfo", "interface_name: 'lo'").response,
              "mac_address: \"00:00:00:00:00:00\"");

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    socklen_t length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const ApiAnswer answer = call(
        "TestUrlConnect", "name: 'localhost' port: " + std::to_string(ntohs(address.sin_port)));
    close(listener);
    EXPECT_EQ(answer.response, "ret_str_code: \"Passed\" ret_str_addr: \"127.0.0.1\"");
}

size_t lines_with(const ConsoleCapture& console, const std::string& text) {
    const auto lines = console.lines();
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

TEST_F(HandlerCases, TheServiceCreatesTheTonePlayerThatToneOperationsUse) {
    EXPECT_EQ(lines_with(console_, "Creating Tone Player"), 1u);
    // Later callers get the same player, whatever identity they ask for.
    EXPECT_EQ(audio::get_tone_player(true), audio::get_tone_player(false));

    EXPECT_EQ(call("StopTone").response, "success: true");
    EXPECT_EQ(backends_.media.calls().back(), "StopTone");
    backends_.media.fail("StopTone", grpc::Status(grpc::StatusCode::UNAVAILABLE, "gone"));
    EXPECT_EQ(call("StopTone").response, "");

    // A tone type the player does not know.
    const ApiAnswer unknown = call("PlayTone", "type: 4");
    EXPECT_EQ(unknown.status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(unknown.status.error_message(), "Unknown tone type");
}

TEST_F(HandlerCases, ResetMakesTheNextUserCreateAFreshPlayer) {
    const auto first = audio::get_tone_player(false);
    EXPECT_TRUE(first->reset());
    const auto second = audio::get_tone_player(false);
    EXPECT_NE(first, second);
    EXPECT_EQ(audio::get_tone_player(false), second);
    EXPECT_EQ(lines_with(console_, "Creating Tone Player"), 2u);
}

TEST_F(HandlerCases, ProblemReportRequestsStartUploads) {
    EXPECT_EQ(
        call("UploadPRB", "description: 'screen flickers' collection_flags: 'include_historic'")
            .response,
        "success: true");
    EXPECT_EQ(call("GetPRB", "collection_flags: 'include_collectd'").response, "success: true");

    ASSERT_TRUE(backends_.problemreporter.wait_for_uploads(2));
    std::vector<std::string> uploads;
    for (const auto& upload : backends_.problemreporter.uploads()) {
        uploads.push_back(upload.ShortDebugString());
    }
    std::sort(uploads.begin(), uploads.end());
    EXPECT_THAT(uploads, ElementsAre("destination_type: LOCAL_DISK user { } "
                                     "collection_flags: \"include_collectd\"",
                                     "user { description: \"screen flickers\" } "
                                     "collection_flags: \"include_historic\""));
}

TEST_F(HandlerCases, ProblemReportStatusAndLocationAreCopied) {
    problemreportstatus::BundleStatusList list;
    const std::string bundle =
        "problemreport_id: 'prb-5' sources: 'User' sources: 'Crash' bundle_name: 'prb-5.tar.gz' "
        "description: 'no audio' events { name: 'uploaded' event_message: 'done' "
        "timepoint: 1700000000000 }";
    ASSERT_TRUE(google::protobuf::TextFormat::ParseFromString("bundles { " + bundle + " }", &list));
    backends_.problemreportstatus.answer(list);
    EXPECT_EQ(call("GetPRBStatus").response,
              normalized_answer("GetPRBStatus", "bundles { " + bundle + " }"));

    backends_.problemreporter.answer_location("/storage/prb/prb-6.tar.gz");
    EXPECT_EQ(call("GetPRBFileLocation", "problemreport_id: 'prb-6'").response,
              "bundle_path: \"/storage/prb/prb-6.tar.gz\"");
    EXPECT_THAT(backends_.problemreporter.location_requests(), ElementsAre("prb-6"));
}

}  // namespace
}  // namespace vanta::testing
