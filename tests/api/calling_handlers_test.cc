// The call-control operations through a real API connection, with a fake call
// proxy on its fixed socket (each case runs in a private /tmp).

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_harness.h"
#include "sim/backend_server.h"
#include "sim/calling_backend.h"
#include "support/console_capture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;
namespace calling = vanta::calling;

bool has_line(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

class CallingHandlersTest : public ::testing::Test {
  protected:
    // A reported span of `operation`, once the tracer has written it.
    nlohmann::json reported_span(const std::string& operation) {
        const std::string prefix = "[TRACING] I: ";
        nlohmann::json found;
        wait_until(
            [&] {
                for (const std::string& line : console_.lines()) {
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
    bool logged(const std::string& text) {
        return wait_until([&] { return has_line(console_.lines(), text); }, 5s);
    }
    void answer_direction(calling::ShareDirection direction) {
        calling::ShareDirectionResponse reply;
        reply.set_direction(direction);
        service_.answer("GetShareDirection", reply);
    }

    ConsoleCapture console_;
    sim::CallingBackend service_;
    sim::BackendServer backend_{"unix:/tmp/callproxy", {&service_}};
    ApiHarness api_;
    std::unique_ptr<vantaapi::VantaApi::Stub> stub_ = api_.client();
    grpc::ClientContext context_;
};

TEST_F(CallingHandlersTest, CommandsPassTheirFieldsAndAnswerTheBackendsSuccess) {
    vantaapi::CompleteTransferMeetingRequest request;
    request.set_meeting_id(12);
    request.set_target_meeting_id(13);
    request.set_complete_xfer_method(vantaapi::kCompanion);
    vantaapi::RequestStatus response;
    ASSERT_TRUE(stub_->CompleteTransferMeeting(&context_, request, &response).ok());
    EXPECT_TRUE(response.success());
    const auto sent =
        service_.requests<calling::CompleteTransferMeetingRequest>("CompleteTransferMeeting");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].meeting_id(), 12u);
    EXPECT_EQ(sent[0].target_meeting_id(), 13u);
    EXPECT_EQ(sent[0].complete_xfer_method(), calling::kCompanion);

    calling::MeetingStatus refused;
    service_.answer("DeclineMeeting", refused);
    vantaapi::DeclineMeetingRequest decline;
    decline.set_meeting_id(21);
    decline.set_end_method(vantaapi::kUiApp);
    grpc::ClientContext decline_context;
    response.set_success(true);
    ASSERT_TRUE(stub_->DeclineMeeting(&decline_context, decline, &response).ok());
    EXPECT_FALSE(response.success());
    EXPECT_TRUE(logged("VantaApi I: DeclineMeeting called for meeting id 21"));
    const auto declined = service_.requests<calling::DeclineMeetingRequest>("DeclineMeeting");
    ASSERT_EQ(declined.size(), 1u);
    EXPECT_EQ(declined[0].end_method(), calling::kUiApp);
}

TEST_F(CallingHandlersTest, StartMeetingContinuesTheCallersTrace) {
    calling::MeetingInfo started;
    started.set_meeting_id(99);
    service_.answer("StartMeeting", started);
    vantaapi::StartMeetingRequest request;
    request.set_destination("sip:room@example");
    request.set_start_method(vantaapi::kCalendarEvent);
    request.set_line_id(3);
    vantaapi::MeetingInfo response;
    context_.AddMetadata("trace_id", "42");
    context_.AddMetadata("span_id", "7");
    ASSERT_TRUE(stub_->StartMeeting(&context_, request, &response).ok());
    EXPECT_EQ(response.meeting_id(), 99u);

    const auto sent = service_.requests<calling::StartMeetingRequest>("StartMeeting");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].destination(), "sip:room@example");
    EXPECT_EQ(sent[0].start_method(), calling::kCalendarEvent);
    EXPECT_EQ(sent[0].line_id(), 3u);

    // The handler's span is a child of the caller's, the client's span a child
    // of the handler's, and the client's span travels to the backend.
    const auto handler = reported_span("VantaApiServer::StartMeeting");
    ASSERT_FALSE(handler.is_null());
    EXPECT_EQ(handler["Trace ID"], "42");
    EXPECT_EQ(handler["Parent ID"], "7");
    EXPECT_NE(handler["Span ID"], "7");
    const auto client = reported_span("CallingClient::StartMeeting");
    ASSERT_FALSE(client.is_null());
    EXPECT_EQ(client["Trace ID"], "42");
    EXPECT_EQ(client["Parent ID"], handler["Span ID"]);
    const auto call = service_.calls().at(0);
    EXPECT_EQ(call.metadata.find("trace_id")->second, "42");
    EXPECT_EQ(call.metadata.find("span_id")->second, client["Span ID"]);
}

TEST_F(CallingHandlersTest, AudioStatisticsCopyTheBackendsFields) {
    calling::AudioStatistics stats;
    stats.mutable_rx_statistics()->set_codec("opus");
    stats.mutable_rx_statistics()->set_jitter(5);
    stats.mutable_rx_statistics()->set_playback_mode(calling::STEREO);
    stats.mutable_rx_statistics()->set_ice_connected(true);
    stats.mutable_tx_statistics()->set_rtt(40);
    stats.mutable_tx_statistics()->set_media_status_str("sending");
    stats.mutable_rx_srtp_statistics()->set_rtcp_auth_fail(2);
    stats.mutable_hal_stats()->set_alsa_reads_last_min(7);
    stats.mutable_hal_stats_call_totals()->set_speaker_active_secs(99);
    service_.answer("GetAudioStatistics", stats);

    vantaapi::MeetingInfo request;
    request.set_meeting_id(31);
    vantaapi::AudioStatistics response;
    ASSERT_TRUE(stub_->GetAudioStatistics(&context_, request, &response).ok());
    EXPECT_EQ(response.meeting_id(), 31u);
    EXPECT_EQ(response.rx_statistics().codec(), "opus");
    EXPECT_EQ(response.rx_statistics().jitter(), 5u);
    EXPECT_EQ(response.rx_statistics().playback_mode(), vantaapi::STEREO);
    EXPECT_TRUE(response.rx_statistics().ice_connected());
    EXPECT_EQ(response.tx_statistics().rtt(), 40u);
    EXPECT_EQ(response.tx_statistics().media_status_str(), "sending");
    EXPECT_EQ(response.rx_srtp_statistics().rtcp_auth_fail(), 2u);
    EXPECT_EQ(response.hal_stats().alsa_reads_last_min(), 7u);
    EXPECT_EQ(response.hal_stats_call_totals().speaker_active_secs(), 99u);
    EXPECT_EQ(service_.requests<calling::MeetingInfo>("GetAudioStatistics")[0].meeting_id(), 31u);
}

TEST_F(CallingHandlersTest, IncomingShareAnswersTheReceiveStatistics) {
    answer_direction(calling::INCOMING_SHARE);
    calling::ShareRxStatistics rx;
    rx.mutable_rx_statistics()->set_width(1920);
    rx.mutable_rx_statistics()->set_avg_bit_rate(1.5f);
    rx.mutable_rx_statistics()->set_time_received(1234567890123ull);
    rx.mutable_rx_srtp_statistics()->set_enabled(true);
    service_.answer("GetShareRxStatistics", rx);

    vantaapi::MeetingInfo request;
    request.set_meeting_id(4);
    vantaapi::ShareStatistics response;
    ASSERT_TRUE(stub_->GetShareStatistics(&context_, request, &response).ok());
    EXPECT_EQ(response.meeting_id(), 4u);
    EXPECT_EQ(response.rx_statistics().width(), 1920u);
    EXPECT_FLOAT_EQ(response.rx_statistics().avg_bit_rate(), 1.5f);
    EXPECT_EQ(response.rx_statistics().time_received(), 1234567890123ull);
    EXPECT_TRUE(response.rx_srtp_statistics().enabled());
    EXPECT_FALSE(response.has_tx_statistics());
    EXPECT_TRUE(logged("VantaApi I: Received Direction: 1"));
    EXPECT_TRUE(logged("VantaApi I: Updated Rx Stats.."));
    EXPECT_EQ(service_.requests<calling::MeetingId>("GetShareDirection")[0].id(), 4u);
    EXPECT_TRUE(service_.requests<calling::MeetingInfo>("GetShareTxStatistics").empty());
}

TEST_F(CallingHandlersTest, OutgoingShareAnswersTheSendStatistics) {
    answer_direction(calling::OUTGOING_SHARE);
    calling::ShareTxStatistics tx;
    tx.mutable_stream_stats()->set_transport_type("UDP");
    tx.mutable_stream_stats()->set_q_delay(12);
    tx.mutable_stream_stats()->set_encoder_output_frames(600);
    service_.answer("GetShareTxStatistics", tx);

    vantaapi::MeetingInfo request;
    request.set_meeting_id(4);
    vantaapi::ShareStatistics response;
    ASSERT_TRUE(stub_->GetShareStatistics(&context_, request, &response).ok());
    EXPECT_EQ(response.meeting_id(), 4u);
    EXPECT_EQ(response.tx_statistics().transport_type(), "UDP");
    EXPECT_EQ(response.tx_statistics().q_delay(), 12u);
    EXPECT_EQ(response.tx_statistics().encoder_output_frames(), 600u);
    EXPECT_FALSE(response.has_rx_statistics());
    EXPECT_TRUE(logged("VantaApi I: Received Direction: 2"));
    EXPECT_TRUE(logged("VantaApi I: Updated Tx Stats.."));

    service_.fail("GetShareTxStatistics", grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
    grpc::ClientContext again;
    const auto status = stub_->GetShareStatistics(&again, request, &response);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "GetShareTxStatistics callproxy FAILED");
}

TEST_F(CallingHandlersTest, NoShareAnswersAnEmptyResponse) {
    answer_direction(calling::NO_SHARE);
    vantaapi::MeetingInfo request;
    request.set_meeting_id(4);
    vantaapi::ShareStatistics response;
    ASSERT_TRUE(stub_->GetShareStatistics(&context_, request, &response).ok());
    EXPECT_EQ(response.ByteSizeLong(), 0u);
    EXPECT_TRUE(logged("VantaApi I: Received Direction: 3"));
    EXPECT_EQ(service_.calls().size(), 1u) << "only the direction was asked for";
}

TEST_F(CallingHandlersTest, GuardedOperationsAnswerTheMappedError) {
    service_.fail("GetLastDialString", grpc::Status(grpc::StatusCode::NOT_FOUND, "no dial"));
    vantaapi::LastDialString dial;
    auto status = stub_->GetLastDialString(&context_, google::protobuf::Empty(), &dial);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::NOT_FOUND);
    EXPECT_EQ(status.error_message(),
              "GetLastDialString: [CallProxyClient::GetLastDialString: NOT_FOUND - [no dial]]");

    service_.fail("StopWirelessLocalShare",
                  grpc::Status(grpc::StatusCode::DEADLINE_EXCEEDED, "too late"));
    grpc::ClientContext stop_context;
    google::protobuf::Empty empty;
    status = stub_->StopWirelessLocalShare(&stop_context, google::protobuf::Empty(), &empty);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_EQ(status.error_message(),
              "StopWirelessLocalShare: [CallProxyClient::StopWirelessLocalShare: "
              "DEADLINE_EXCEEDED - [too late]]");

    service_.fail("StartRecording", grpc::Status(grpc::StatusCode::NOT_FOUND, "no meeting"));
    grpc::ClientContext recording_context;
    vantaapi::RequestStatus response;
    status = stub_->StartRecording(&recording_context, vantaapi::MeetingId(), &response);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_EQ(status.error_message(), "StartRecording callproxy FAILED");
}

TEST_F(CallingHandlersTest, NewerOperationsAnswerTheBackendsValues) {
    calling::LastDialString last;
    last.set_dial_string("5551234");
    service_.answer("GetLastDialString", last);
    vantaapi::LastDialString dial;
    ASSERT_TRUE(stub_->GetLastDialString(&context_, google::protobuf::Empty(), &dial).ok());
    EXPECT_EQ(dial.dial_string(), "5551234");

    // A digit the backend does not know is sent as invalid.
    for (const auto digit : {vantaapi::KEY_DIGIT_STAR, vantaapi::KEY_DIGIT_A}) {
        vantaapi::DTMFDigit request;
        request.set_dtmf_digit(digit);
        request.set_meeting_id(6);
        vantaapi::RequestStatus response;
        grpc::ClientContext context;
        ASSERT_TRUE(stub_->SendDTMF(&context, request, &response).ok());
        EXPECT_TRUE(response.success());
    }
    const auto digits = service_.requests<calling::SendDigitRequest>("SendDigit");
    ASSERT_EQ(digits.size(), 2u);
    EXPECT_EQ(digits[0].digit(), calling::KEY_DIGIT_STAR);
    EXPECT_EQ(digits[0].meeting_id(), 6u);
    EXPECT_EQ(digits[1].digit(), calling::KEY_DIGIT_INVALID);
}

TEST_F(CallingHandlersTest, CallingLinesAreConvertedLineByLine) {
    calling::CallingLines lines;
    auto* line = lines.add_line();
    line->mutable_account_id()->set_account_id("acct-1");
    line->set_line_id(2);
    line->set_display_name("Reception");
    line->set_directory_number("1000");
    line->set_registration_state(calling::REGISTERED);
    line->set_external_directory_number("+1 555 1000");
    line->set_sip_address("sip:1000@example");
    lines.add_line()->set_line_id(3);
    service_.answer("ListCallingLines", lines);

    vantaapi::CallingLines response;
    ASSERT_TRUE(stub_->ListCallingLines(&context_, google::protobuf::Empty(), &response).ok());
    ASSERT_EQ(response.line_size(), 2);
    const auto& first = response.line(0);
    EXPECT_EQ(first.account_id().id(), "acct-1");
    EXPECT_EQ(first.line_id(), 2u);
    EXPECT_EQ(first.display_name(), "Reception");
    EXPECT_EQ(first.directory_number(), "1000");
    EXPECT_EQ(first.registration_state().state(), vantaapi::RegistrationState::REGISTERED);
    EXPECT_EQ(first.external_directory_number(), "+1 555 1000");
    EXPECT_EQ(first.sip_address(), "sip:1000@example");
    EXPECT_EQ(response.line(1).line_id(), 3u);
}

}  // namespace
}  // namespace vanta::testing
