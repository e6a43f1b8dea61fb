// Each operation through a real API connection, with every backend simulated
// on its device socket (each case in a private /tmp). The rows of the
// *_pass_through_rows.textproto files: what each operation that the service
// forwards sends its backends and answers; those of situation_rows.textproto:
// what operations do when a backend refuses or answers what the handler does
// not expect, or the request is outside its schema, and what they log. Then
// what no row shows: requests past the size limit, the caller's label and
// trace, and the operations served by the platform, the problem-report
// services and the tone player. The answers with no backend at all are
// no_backend_test.cc's.

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_call.h"
#include "api_harness.h"
#include "api_rows.pb.h"
#include "device_backends.h"
#include "platform/device_identity.h"
#include "platform/manufacturing_data.h"
#include "platform/platform_info.h"
#include "platform/system_version.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/data_files.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

class HandlerCases : public ::testing::Test {
  protected:
    ApiAnswer call(const std::string& operation, const std::string& request = "") {
        return call_api(*channel_, operation, request);
    }
    void check(const rows::PassThroughRow& row) {
        const size_t skipped = console_.lines().size();
        std::vector<std::string> expected;
        for (const rows::BackendExchange& exchange : row.backend()) {
            if (exchange.refuses() == rows::FailureRow::OK) {
                backends_.script(exchange.operation(), exchange.reply());
            } else {
                backends_.fail(exchange.operation(),
                               grpc::Status(status_code(exchange.refuses()), "refused"));
            }
            expected.push_back(exchange.operation() + "(" +
                               backends_.normalized_request(exchange.operation(), exchange.sent()) +
                               ")");
        }
        const auto marks = backends_.marks();
        const ApiAnswer answer = call(row.operation(), row.request());
        EXPECT_EQ(answer.status.error_code(), status_code(row.code()))
            << answer.status.error_message();
        if (answer.status.ok()) {
            EXPECT_EQ(answer.response, normalized_answer(row.operation(), row.answer()));
        } else {
            EXPECT_EQ(answer.status.error_message(), row.answer());
        }
        if (!row.log().empty()) {
            EXPECT_TRUE(wait_until([&] { return console_.count(row.log(), skipped) > 0; }, 5s))
                << "not logged: " << row.log();
        }
        auto calls = backends_.calls_since(marks);
        std::sort(calls.begin(), calls.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(calls, expected);
    }
    // Ends the refusals a row asked for, so that they cannot leak into the
    // next row even when the row did not parse.
    void end_refusals(const rows::PassThroughRow& row) {
        for (const rows::BackendExchange& exchange : row.backend()) {
            if (exchange.refuses() != rows::FailureRow::OK) {
                backends_.fail(exchange.operation(), grpc::Status::OK);
            }
        }
    }
    // Checks every row of `file_name`, which must hold at least `minimum_rows`.
    void check_file(const std::string& file_name, int minimum_rows) {
        const auto rows = read_text_format<rows::PassThroughRows>(std::string(VANTA_API_ROWS_DIR) +
                                                                  "/" + file_name);
        ASSERT_GE(rows.row_size(), minimum_rows) << file_name << " has lost rows";
        for (const rows::PassThroughRow& row : rows.row()) {
            SCOPED_TRACE(file_name + ": " + row.ShortDebugString());
            try {
                check(row);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "row does not parse: " << e.what();
            }
            end_refusals(row);
        }
    }
    static grpc::StatusCode status_code(rows::FailureRow::Code code) {
        return static_cast<grpc::StatusCode>(code);
    }

    ConsoleCapture console_;
    DeviceBackends backends_;
    ApiHarness api_;
    std::shared_ptr<grpc::Channel> channel_ =
        grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials());
};

// Call control; audio, system, screen, upgrades and features; network, Wi-Fi,
// configuration and security; certificates, branding, cloud room, shares,
// phone book, accounts and calendar; then refusals, unexpected answers,
// requests outside the schemas and log lines. Each file keeps its rows.
TEST_F(HandlerCases, EveryRowOfThePassThroughAndSituationFiles) {
    for (const auto& [file_name, minimum_rows] :
         {std::pair("calling_pass_through_rows.textproto", 44),
          std::pair("devices_pass_through_rows.textproto", 49),
          std::pair("network_pass_through_rows.textproto", 67),
          std::pair("plugins_pass_through_rows.textproto", 27),
          std::pair("situation_rows.textproto", 23)}) {
        check_file(file_name, minimum_rows);
    }
}

// A megabyte destination goes out whole, with a method the backend does not
// know as unknown; a message above gRPC's 4 MB limit never reaches the
// service.
TEST_F(HandlerCases, RequestsUpToTheSizeLimitGoOutWholeAndLargerOnesNowhere) {
    const std::string destination = "destination: 'sip:" + std::string(1 << 20, 'r') + "@example'";
    auto row = from_text<rows::PassThroughRow>(
        "operation: 'StartMeeting' answer: 'meeting_id: 98' "
        "backend { operation: 'calling.StartMeeting' reply: 'meeting_id: 98' }");
    row.set_request(destination + " start_method: 99");
    row.mutable_backend(0)->set_sent(destination);
    check(row);

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
    EXPECT_THAT(calls[0].metadata, Contains(Pair("trace_id", "42")));
    EXPECT_EQ(calls[1].metadata.count("trace_id"), 0u);
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
    // A listening port of the test's own: a gRPC server without services.
    int port = 0;
    grpc::ServerBuilder builder;
    builder.AddListeningPort("127.0.0.1:0", grpc::InsecureServerCredentials(), &port);
    const auto listener = builder.BuildAndStart();
    const ApiAnswer answer =
        call("TestUrlConnect", "name: 'localhost' port: " + std::to_string(port));
    EXPECT_EQ(answer.response, "ret_str_code: \"Passed\" ret_str_addr: \"127.0.0.1\"");
}

// How the process-wide player is shared and reset is the tone player's
// (audio/tone_player_test.cc).
TEST_F(HandlerCases, TheServiceCreatesTheTonePlayerThatToneOperationsUse) {
    EXPECT_EQ(console_.count("Creating Tone Player"), 1u);

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
