// The call-control client against a fake call-control backend. Its event
// stream is in observable_clients_test.cc.

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "clients/calling/calling_client.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"
#include "sim/backend_server.h"
#include "sim/calling_backend.h"
#include "sim/service_registry.h"
#include "support/console_capture.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
namespace calling = vanta::calling;

size_t count_containing(const std::vector<std::string>& lines, const std::string& text) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

// The spans that the tracer reported, as JSON, for one operation name.
std::vector<nlohmann::json> reported_spans(const std::vector<std::string>& lines,
                                           const std::string& operation) {
    std::vector<nlohmann::json> spans;
    const std::string prefix = "[TRACING] I: ";
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            auto span = nlohmann::json::parse(line.substr(prefix.size()));
            if (span["Operation Name"] == operation) {
                spans.push_back(span);
            }
        }
    }
    return spans;
}

std::string metadata_value(const sim::CallingBackend::Call& call, const std::string& key) {
    const auto found = call.metadata.find(key);
    return found == call.metadata.end() ? "" : found->second;
}

class CallingClientTest : public ::testing::Test {
  protected:
    ConsoleCapture console_;
    TempDir dir_;
    std::string address_ = dir_.socket_address("callproxy");
    sim::CallingBackend service_;
    std::unique_ptr<sim::BackendServer> server_ = std::make_unique<sim::BackendServer>(
        address_, std::initializer_list<grpc::Service*>{&service_});
    ManualExecutor executor_;
    std::unique_ptr<calling::CallingClient> client_ = calling::create_client(
        executor_, endpoint_at(device_endpoints().callproxy, address_, 7000ms));
};

// Unary operations.

TEST_F(CallingClientTest, OlderOperationsAnswerNothingForRecoverableCodesAndLogOneLine) {
    service_.fail("HoldMeeting", grpc::Status(grpc::StatusCode::UNAVAILABLE, "backend away"));
    EXPECT_FALSE(client_->HoldMeeting(3, calling::kUiApp));
    const auto lines = console_.lines();
    EXPECT_EQ(count_containing(lines, "request failed"), 1u);
    EXPECT_EQ(count_containing(
                  lines, "HoldMeeting request failed, grpc error: backend away, code: UNAVAILABLE"),
              1u);
    EXPECT_EQ(count_containing(lines, "CallProxyClient"), 1u) << "logged by the client's logger";

    service_.fail("StartMeeting", grpc::Status(grpc::StatusCode::DEADLINE_EXCEEDED, "slow"));
    EXPECT_FALSE(client_->StartMeeting("sip:a@b", calling::kUiApp, 1, std::nullopt));
}

TEST_F(CallingClientTest, OlderOperationsRaiseForRefusals) {
    service_.fail("HoldMeeting", grpc::Status(grpc::StatusCode::INVALID_ARGUMENT, "no such"));
    try {
        client_->HoldMeeting(3, calling::kUiApp);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "HoldMeeting: unrecoverable grpc error: INVALID_ARGUMENT");
    }
    service_.fail("GetAllMeetings", grpc::Status(grpc::StatusCode::PERMISSION_DENIED, "no"));
    EXPECT_THROW(client_->GetAllMeetings(), std::runtime_error);
}

TEST_F(CallingClientTest, NewerOperationsRaiseTheTypedErrors) {
    service_.fail("StartRecording", grpc::Status(grpc::StatusCode::NOT_FOUND, "no meeting"));
    try {
        client_->StartRecording(4);
        FAIL() << "no exception";
    } catch (const ServiceResourceNotFoundError& e) {
        EXPECT_STREQ(e.what(), "CallProxyClient::StartRecording: NOT_FOUND - [no meeting]");
    }
    service_.fail("GetVideoStatistics", grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
    EXPECT_THROW(client_->GetVideoStatistics(4), ServiceUnavailableError);
    service_.fail("SendDigit", grpc::Status(grpc::StatusCode::DEADLINE_EXCEEDED, "slow"));
    EXPECT_THROW(client_->SendDigit(4, calling::KEY_DIGIT_1), ServiceDeadlineError);
    service_.fail("StopWirelessLocalShare", grpc::Status(grpc::StatusCode::INTERNAL, "x"));
    EXPECT_THROW(client_->StopWirelessLocalShare(), ServiceInternalError);
    service_.fail("GetLastDialString", grpc::Status(grpc::StatusCode::UNIMPLEMENTED, "x"));
    EXPECT_THROW(client_->GetLastDialString(), ServiceMethodNotImplementedError);
}

TEST_F(CallingClientTest, NewerOperationsAnswerTheReply) {
    calling::LastDialString dial;
    dial.set_dial_string("5551234");
    service_.answer("GetLastDialString", dial);
    EXPECT_EQ(client_->GetLastDialString(), "5551234");

    calling::RequestStatus refused;
    refused.set_success(false);
    service_.answer("PauseRecording", refused);
    EXPECT_FALSE(client_->PauseRecording(9));
    EXPECT_TRUE(client_->ResumeRecording(9));
    EXPECT_TRUE(client_->SendDigit(9, calling::KEY_DIGIT_POUND));

    const auto paused = service_.requests<calling::MeetingId>("PauseRecording");
    ASSERT_EQ(paused.size(), 1u);
    EXPECT_EQ(paused[0].id(), 9u);
    const auto digits = service_.requests<calling::SendDigitRequest>("SendDigit");
    ASSERT_EQ(digits.size(), 1u);
    EXPECT_EQ(digits[0].meeting_id(), 9u);
    EXPECT_EQ(digits[0].digit(), calling::KEY_DIGIT_POUND);
}

TEST_F(CallingClientTest, StartMeetingSendsItsArgumentsAndAnswersTheMeetingId) {
    calling::MeetingInfo started;
    started.set_meeting_id(77);
    service_.answer("StartMeeting", started);
    EXPECT_EQ(client_->StartMeeting("sip:room@example", calling::kCalendarEvent, 0xfffffff0u,
                                    std::nullopt),
              77);
    const auto requests = service_.requests<calling::StartMeetingRequest>("StartMeeting");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].destination(), "sip:room@example");
    EXPECT_EQ(requests[0].start_method(), calling::kCalendarEvent);
    EXPECT_EQ(requests[0].line_id(), 0xfffffff0u);
}

TEST_F(CallingClientTest, StatusOperationsPassTheirArgumentsAndAnswerSuccess) {
    calling::MeetingStatus refused;
    service_.answer("CompleteTransferMeeting", refused);
    EXPECT_EQ(client_->CompleteTransferMeeting(5, 6, calling::kCompanion), false);
    EXPECT_EQ(client_->DeclineMeeting(5, calling::kIncomingCall, calling::SIP_BRIDGE), true);
    EXPECT_EQ(client_->DirectedParkMeeting(5, -2), true);
    EXPECT_EQ(client_->ProvideLobbyAuthentication(5, true, "4711"), true);
    EXPECT_EQ(client_->LeaveActiveMeeting(calling::kServer), true);

    const auto transfer =
        service_.requests<calling::CompleteTransferMeetingRequest>("CompleteTransferMeeting");
    ASSERT_EQ(transfer.size(), 1u);
    EXPECT_EQ(transfer[0].meeting_id(), 5u);
    EXPECT_EQ(transfer[0].target_meeting_id(), 6u);
    EXPECT_EQ(transfer[0].complete_xfer_method(), calling::kCompanion);
    const auto decline = service_.requests<calling::DeclineMeetingRequest>("DeclineMeeting");
    ASSERT_EQ(decline.size(), 1u);
    EXPECT_EQ(decline[0].end_method(), calling::kIncomingCall);
    EXPECT_EQ(decline[0].call_type(), calling::SIP_BRIDGE);
    EXPECT_EQ(service_.requests<calling::DirectedParkMeetingRequest>("DirectedParkMeeting")[0]
                  .park_slot(),
              -2);
    const auto lobby = service_.requests<calling::LobbyAuthInfo>("ProvideLobbyAuthentication");
    ASSERT_EQ(lobby.size(), 1u);
    EXPECT_TRUE(lobby[0].is_host());
    EXPECT_EQ(lobby[0].pin(), "4711");
    EXPECT_EQ(
        service_.requests<calling::LeaveActiveMeetingRequest>("LeaveActiveMeeting")[0].end_method(),
        calling::kServer);
}

TEST_F(CallingClientTest, DataOperationsAnswerTheBackendsReply) {
    calling::ShareRxStatistics rx;
    rx.mutable_rx_statistics()->set_codec("H264");
    rx.mutable_rx_statistics()->set_time_connected(1234567890123ull);
    rx.mutable_rx_srtp_statistics()->set_rtp_replay(3);
    service_.answer("GetShareRxStatistics", rx);
    const auto answered = client_->GetShareRxStatistics(12);
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->rx_statistics().codec(), "H264");
    EXPECT_EQ(answered->rx_statistics().time_connected(), 1234567890123ull);
    EXPECT_EQ(answered->rx_srtp_statistics().rtp_replay(), 3u);
    EXPECT_EQ(service_.requests<calling::MeetingInfo>("GetShareRxStatistics")[0].meeting_id(), 12u);

    calling::ShareDirectionResponse direction;
    direction.set_direction(calling::OUTGOING_SHARE);
    service_.answer("GetShareDirection", direction);
    EXPECT_EQ(client_->GetShareDirection(12)->direction(), calling::OUTGOING_SHARE);
    EXPECT_EQ(service_.requests<calling::MeetingId>("GetShareDirection")[0].id(), 12u);

    service_.fail("ListCallingLines", grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
    EXPECT_FALSE(client_->ListCallingLines());
}

// Tracing.

TEST_F(CallingClientTest, StartMeetingCarriesItsSpanAsAChildOfTheCallersSpan) {
    tracing::SpanContext caller;
    caller.trace_id = 42;
    caller.span_id = 7;
    ASSERT_TRUE(client_->StartMeeting("sip:a@b", calling::kUiApp, 1, caller));

    const auto calls = service_.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(metadata_value(calls[0], "trace_id"), "42");
    const std::string span_id = metadata_value(calls[0], "span_id");
    EXPECT_NE(span_id, "");
    EXPECT_NE(span_id, "7");

    const auto spans = reported_spans(console_.lines(), "CallingClient::StartMeeting");
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0]["Trace ID"], "42");
    EXPECT_EQ(spans[0]["Parent ID"], "7");
    EXPECT_EQ(spans[0]["Span ID"], span_id);
}

TEST_F(CallingClientTest, TracedCallsWithoutACallerStartANewTrace) {
    calling::ShareEncodeParams params;
    params.set_width(1920);
    params.set_frame_rate(29.97f);
    ASSERT_EQ(client_->SetShareEncodeParams(8, params), true);
    ASSERT_TRUE(client_->StartMeeting("sip:a@b", calling::kUiApp, 1, std::nullopt));
    ASSERT_TRUE(client_->HoldMeeting(8, calling::kUiApp));

    const auto calls = service_.calls();
    ASSERT_EQ(calls.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(calls[i].operation);
        EXPECT_NE(metadata_value(calls[i], "trace_id"), "");
        EXPECT_EQ(metadata_value(calls[i], "trace_id"), metadata_value(calls[i], "span_id"));
    }
    EXPECT_EQ(metadata_value(calls[2], "trace_id"), "") << "untraced operations carry no trace";
    const auto sent = service_.requests<calling::ShareEncodeParamRequest>("SetShareEncodeParams");
    EXPECT_EQ(sent[0].meeting_id(), 8u);
    EXPECT_EQ(sent[0].params().width(), 1920u);
    EXPECT_FLOAT_EQ(sent[0].params().frame_rate(), 29.97f);
    EXPECT_EQ(reported_spans(console_.lines(), "CallingClient::SetShareEncodeParams").size(), 1u);
}

// The factory of the call proxy's client, on the device's fixed sockets (each
// case runs in a private /tmp).

TEST(CallProxyFactory, UsesTheAddressTheRegistryHolds) {
    TempDir dir;
    const std::string address = dir.socket_address("registered");
    sim::CallingBackend service;
    sim::BackendServer server(address, {&service});
    sim::ServiceRegistry registry;
    registry.add_entry("CallProxy", address);
    sim::BackendServer registry_server("unix:/tmp/serviceregistry", {&registry});

    ManualExecutor executor;
    const auto client = callproxy::create_client(executor, device_endpoints().callproxy);
    EXPECT_EQ(client->AnyMeetings(), true);
    EXPECT_EQ(service.calls().size(), 1u);
    EXPECT_THAT(registry.lookups(), ElementsAre("CallProxy"));
}

TEST(CallProxyFactory, FallsBackToTheFixedSocketWhenTheRegistryIsAway) {
    sim::CallingBackend service;
    sim::BackendServer server("unix:/tmp/callproxy", {&service});

    ManualExecutor executor;
    const auto started = std::chrono::steady_clock::now();
    const auto client = callproxy::create_client(executor, device_endpoints().callproxy);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(client->AnyMeetings(), true);
    EXPECT_EQ(service.calls().size(), 1u);
}

}  // namespace
}  // namespace vanta::testing
