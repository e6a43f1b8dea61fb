// What the handlers do beyond passing fields through (pass_through_test.cc)
// and beyond the answers with no backend at all (no_backend_test.cc): their
// log lines, the failures of a second backend call, the requests outside the
// schemas, the caller's label and trace; and the operations served by the
// platform, the problem-report services and the tone player. The cases in a
// prepared situation are the rows of handler_cases.json. Every backend is
// simulated on its device socket; each case runs in a private /tmp.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_call.h"
#include "api_harness.h"
#include "device_backends.h"
#include "platform/device_identity.h"
#include "platform/manufacturing_data.h"
#include "platform/platform_info.h"
#include "platform/system_version.h"
#include "rpc/client/grpc_exceptions.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HandlerCases : public ::testing::Test {
  protected:
    // How many lines after the first `skipped` ones contain `text`.
    size_t lines_with(const std::string& text, size_t skipped = 0) const {
        const auto lines = console_.lines();
        return std::count_if(
            lines.begin() + std::min(skipped, lines.size()), lines.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    ApiAnswer call(const std::string& operation, const std::string& request = "") {
        return call_api(*channel_, operation, request);
    }
    // One row of handler_cases.json: prepares the backends, calls and checks.
    void check(const nlohmann::json& row) {
        const std::string operation = row.at("operation");
        const size_t skipped = console_.lines().size();
        const auto scripts = row.value("script", nlohmann::json::object());
        for (const auto& [backend_operation, reply] : scripts.items()) {
            backends_.script(backend_operation, reply);
        }
        const auto failures = row.value("fail", nlohmann::json::object());
        for (const auto& [backend_operation, code] : failures.items()) {
            backends_.fail(backend_operation, grpc::Status(code_named(code), "refused"));
        }
        const auto marks = backends_.marks();
        const ApiAnswer answer = call(operation, row.value("request", ""));
        EXPECT_EQ(GrpcStatusCodeToString(answer.status.error_code()), row.value("code", "OK"))
            << answer.status.error_message();
        if (row.contains("answer")) {
            const std::string expected = row["answer"];
            if (answer.status.ok()) {
                EXPECT_EQ(answer.response, normalized_answer(operation, expected));
            } else {
                EXPECT_EQ(answer.status.error_message(), expected);
            }
        }
        if (row.contains("log")) {
            EXPECT_TRUE(wait_until([&] { return lines_with(row["log"], skipped) > 0; }, 5s));
        }
        if (row.value("asks_no_backend", false)) {
            EXPECT_THAT(backends_.calls_since(marks), IsEmpty());
        }
    }
    // Ends the failures a row set, whatever happened in it.
    void undo_failures(const nlohmann::json& row) {
        const auto failures = row.value("fail", nlohmann::json::object());
        for (const auto& failure : failures.items()) {
            backends_.fail(failure.key(), grpc::Status::OK);
        }
    }
    static grpc::StatusCode code_named(const std::string& name) {
        for (int code = 0; code <= grpc::StatusCode::UNAUTHENTICATED; ++code) {
            if (GrpcStatusCodeToString(static_cast<grpc::StatusCode>(code)) == name) {
                return static_cast<grpc::StatusCode>(code);
            }
        }
        throw std::invalid_argument("no status code " + name);
    }

    ConsoleCapture console_;
    DeviceBackends backends_;
    ApiHarness api_;
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials());
};

TEST_F(HandlerCases, EachRowsOperationAnswersAndLogsInItsSituation) {
    std::ifstream file(VANTA_API_DATA_DIR "/handler_cases.json");
    const auto rows = nlohmann::json::parse(file);
    // A table cut short would pass with the rows it lost.
    ASSERT_EQ(rows.size(), 21u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dump());
        try {
            check(row);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        undo_failures(row);
    }
}

// A message above gRPC's 4 MB limit never reaches the service.
TEST_F(HandlerCases, AnOversizedRequestAsksNoBackend) {
    const auto marks = backends_.marks();
    const ApiAnswer oversized =
        call("StartMeeting", "destination: '" + std::string(5 << 20, 'r') + "'");
    EXPECT_EQ(oversized.status.error_code(), grpc::StatusCode::RESOURCE_EXHAUSTED);
    EXPECT_THAT(backends_.calls_since(marks), IsEmpty());
}

TEST_F(HandlerCases, NetworkManagerCallsCarryTheServicesCallerLabel) {
    ASSERT_TRUE(call("GetNetworkStatusReport").status.ok());
    EXPECT_EQ(backends_.networkmanager.last_caller(), "vantaapi");
}

// The volume manager's calls have 2 s; the answer's text is the hung-backend
// fault test's (faults/daemon_stop_test.cc).
TEST_F(HandlerCases, AGuardedCallPastItsClientsDeadlineAnswersDeadlineExceeded) {
    backends_.volumemgr.delay_answers(2500ms);
    EXPECT_EQ(call("IsAudioHubEnabled").status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
}

std::string metadata_value(const sim::CallingBackend::Call& call, const std::string& key) {
    const auto found = call.metadata.find(key);
    return found == call.metadata.end() ? "" : found->second;
}

// The handler passes the caller's trace on to the backend call; untraced
// operations carry none. How a span continues a trace and travels in call
// metadata is the tracer's (runtime/tracing_test.cc).
TEST_F(HandlerCases, StartMeetingContinuesTheCallersTrace) {
    grpc::ClientContext context;
    context.AddMetadata("trace_id", "42");
    context.AddMetadata("span_id", "7");
    vantaapi::MeetingInfo response;
    ASSERT_TRUE(api_.client()->StartMeeting(&context, {}, &response).ok());
    ASSERT_TRUE(call("HoldMeeting").status.ok());

    const auto calls = backends_.calling.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(metadata_value(calls[0], "trace_id"), "42");
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

TEST_F(HandlerCases, UrlTestAnswersWhatThePlatformFinds) {
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

// How the process-wide player is shared and reset is the tone player's
// (audio/tone_player_test.cc).
TEST_F(HandlerCases, TheServiceCreatesTheTonePlayerThatToneOperationsUse) {
    EXPECT_EQ(lines_with("Creating Tone Player"), 1u);

    EXPECT_EQ(call("StopTone").response, "success: true");
    EXPECT_EQ(backends_.media.calls().back(), "StopTone");
    backends_.media.fail("StopTone", grpc::Status(grpc::StatusCode::UNAVAILABLE, "gone"));
    EXPECT_EQ(call("StopTone").response, "");
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
    const std::string bundles =
        "bundles { problemreport_id: 'prb-5' sources: 'User' sources: 'Crash' bundle_name: "
        "'prb-5.tar.gz' description: 'no audio' events { name: 'uploaded' event_message: 'done' "
        "timepoint: 1700000000000 } }";
    backends_.problemreportstatus.answer(from_text<problemreportstatus::BundleStatusList>(bundles));
    EXPECT_EQ(call("GetPRBStatus").response, normalized_answer("GetPRBStatus", bundles));

    backends_.problemreporter.answer_location("/storage/prb/prb-6.tar.gz");
    EXPECT_EQ(call("GetPRBFileLocation", "problemreport_id: 'prb-6'").response,
              "bundle_path: \"/storage/prb/prb-6.tar.gz\"");
    EXPECT_THAT(backends_.problemreporter.location_requests(), ElementsAre("prb-6"));
}

}  // namespace
}  // namespace vanta::testing
