// The call-control client against a fake call-control backend: what the API
// cannot show of it. Its event stream is in
// observable_clients_test.cc, its failures in client_failures_test.cc.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/calling/calling_client.h"
#include "runtime/executor/manual_executor.h"
#include "served_backend.h"
#include "sim/calling_backend.h"
#include "support/console_capture.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
namespace calling = vanta::calling;

std::string metadata_value(const sim::CallingBackend::Call& call, const std::string& key) {
    const auto found = call.metadata.find(key);
    return found == call.metadata.end() ? "" : found->second;
}

class CallingClientTest : public ::testing::Test {
  protected:
    ConsoleCapture console_;
    Served<sim::CallingBackend> served_{device_endpoints().callproxy, 7000ms};
    ManualExecutor executor_;
    std::unique_ptr<calling::CallingClient> client_ =
        calling::create_client(executor_, served_.endpoint);
};

// What the API passes through is seen there (api/calling_pass_through_rows.textproto): here
// the arguments that the API leaves at their default.
TEST_F(CallingClientTest, ArgumentsTheApiLeavesAtTheirDefaultReachTheBackend) {
    EXPECT_EQ(client_->JoinMeeting(5, calling::kUiApp, calling::CALL), true);
    EXPECT_EQ(client_->DeclineMeeting(6, calling::kIncomingCall, calling::SIP_BRIDGE), true);
    EXPECT_EQ(client_->LeaveActiveMeeting(calling::kServer), true);
    std::vector<std::string> sent;
    for (const auto& call : served_.backend.calls()) {
        sent.push_back(call.operation + "(" + call.request->ShortDebugString() + ")");
    }
    EXPECT_THAT(sent, ElementsAre("JoinMeeting(meeting_id: 5 start_method: kUiApp call_type: CALL)",
                                  "DeclineMeeting(meeting_id: 6 end_method: kIncomingCall "
                                  "call_type: SIP_BRIDGE)",
                                  "LeaveActiveMeeting(end_method: kServer)"));
}

// Without a caller's span the traced operations start a trace of their own;
// the others carry none (api/handler_cases_test.cc).
TEST_F(CallingClientTest, TracedCallsWithoutACallerStartANewTrace) {
    ASSERT_EQ(client_->SetShareEncodeParams(8, {}), true);
    ASSERT_TRUE(client_->StartMeeting("sip:a@b", calling::kUiApp, 1, std::nullopt));
    for (const auto& call : served_.backend.calls()) {
        SCOPED_TRACE(call.operation);
        EXPECT_NE(metadata_value(call, "trace_id"), "");
        EXPECT_EQ(metadata_value(call, "trace_id"), metadata_value(call, "span_id"));
        // The one span it reported, a line of JSON.
        EXPECT_EQ(console_.count("\"Operation Name\":\"CallingClient::" + call.operation + "\""),
                  1u);
    }
}

}  // namespace
}  // namespace vanta::testing
