// The plugin operations through the whole service that the pass-through
// table (tests/api) cannot show, every backend simulated on a temporary
// socket: the account states listed and a failed creation, the meeting list
// and video statistics, and the pairing secrets that reach the caller but
// never the log. The plugins' events are in plugin_events_test.cc.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "backend_event_rows.h"
#include "service_on_backends.h"
#include "support/bus_translation_table.h"
#include "support/console_capture.h"
#include "support/data_files.h"

namespace vanta::testing {
namespace {

namespace accountmanager = vanta::accountmanager;

// Accounts.

// Each activation reason of the manager is listed as the API's reason of the
// same name, whatever the two numbers; a number the manager does not name is
// no reason.
TEST(AccountPlugin, ListedStatesTranslateTheActivationReasonByName) {
    using Reason = accountmanager::ActivationState::Reason;
    const auto* reasons = accountmanager::ActivationState::Reason_descriptor();
    ServiceOnBackends service;
    accountmanager::AccountStateList states;
    std::vector<std::string> expected;
    for (int i = 0; i < reasons->value_count(); ++i) {
        states.add_state_list()->mutable_activation_state()->set_reason(
            static_cast<Reason>(reasons->value(i)->number()));
        const std::string& name = reasons->value(i)->name();
        expected.push_back(name == "CANT_CONNECT_TO_SERVER" ? "NETWORK_ERROR" : name);
    }
    states.add_state_list()->mutable_activation_state()->set_reason(static_cast<Reason>(20));
    expected.push_back("NONE");
    // The other enumerations keep 0 to their highest shared number; beyond
    // it they are unknown.
    states.MergeFrom(from_text<accountmanager::AccountStateList>(R"(
        state_list { account_id { id: 'a1' } account_type: ORVA
                     activation_state { state: ACTIVATED }
                     registration_state { state: REGISTERED reason: SERVICE_STOPPED } }
        state_list { account_id { id: 'a2' } account_type: 4 activation_state { state: 4 }
                     registration_state { state: 4 reason: 6 } })"));
    service.backends.accountmanager.reply("ListAccountStates", states);

    grpc::ClientContext context;
    vantaapi::AccountStateList listed;
    ASSERT_TRUE(service.stub->ListAccountStates(&context, {}, &listed).ok());
    ASSERT_EQ(listed.state_list_size(), static_cast<int>(expected.size()) + 2);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(vantaapi::ActivationState::Reason_Name(
                      listed.state_list(i).activation_state().reason()),
                  expected[i])
            << "backend reason " << states.state_list(i).activation_state().reason();
    }
    EXPECT_EQ(listed.state_list(expected.size()).ShortDebugString(),
              "account_id { id: \"a1\" } activation_state { state: ACTIVATED } "
              "registration_state { state: REGISTERED reason: SERVICE_STOPPED } "
              "account_type: ORVA_ACCOUNT");
    EXPECT_EQ(listed.state_list(expected.size() + 1).ShortDebugString(),
              "account_id { id: \"a2\" } activation_state { } registration_state { }");
}

// The no-backend table cannot reach a creation: its default request names no
// kind of account.
TEST(AccountPlugin, AFailedCreationNamesTheOperationAndTheBackendCall) {
    ServiceOnBackends service;
    service.backends.accountmanager.fail_with(grpc::StatusCode::NOT_FOUND, "no such code");
    const ApiAnswer answer = service.call("CreateAccount", "nimbo_request {}");
    EXPECT_EQ(answer.status.error_code(), grpc::StatusCode::NOT_FOUND);
    EXPECT_EQ(answer.status.error_message(),
              "create_account: [AccountManager::CreateNimboAccount: NOT_FOUND - [no such code]]");
}

// Meetings.

// How a failure of the call proxy answers is the no-backend table's
// (api/service_failure_rows.textproto).
TEST(MeetingPlugin, MeetingsAndVideoStatisticsComeFromTheCallProxy) {
    ServiceOnBackends service;
    // Meetings in the call proxy's order; meeting type 6 is the API's
    // kMsMeeting but not one the list reports.
    service.backends.calling.answer("GetAllMeetings", from_text<calling::MeetingList>(R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO correlation_id: "c-1" }
        meetings { meeting_id: 2 meeting_type: 6 call_state: 18 backend: 3 }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    const ApiAnswer meetings = service.call("GetAllMeetings");
    ASSERT_TRUE(meetings.status.ok()) << meetings.status.error_message();
    EXPECT_EQ(meetings.response, normalized_answer("GetAllMeetings", R"(
        meetings { meeting_id: 4000000001 connection_id: -7 vireo_id: "v-1"
                   meeting_type: kSipBridge remote_uri: "sip:a@example.com"
                   call_state: CONNECTED backend: NIMBO }
        meetings { meeting_id: 2 meeting_type: kUnknownMeetingType call_state: ERROR
                   backend: UNKNOWN_BACKEND }
        meetings { meeting_id: 3 meeting_type: kLocalShare call_state: HOLD backend: KRELL })"));
    // A reserved meeting type leaves the operation as an exception.
    service.backends.calling.answer(
        "GetAllMeetings", from_text<calling::MeetingList>("meetings { meeting_type: 2147483647 }"));
    EXPECT_EQ(service.call("GetAllMeetings").status.error_code(), grpc::StatusCode::UNKNOWN);

    // Statistics of the asked meeting, every field set; the stream the call
    // proxy left out is there all the same, with every field at its default.
    const std::string received = read_text(VANTA_PLUGIN_ROWS_DIR "/video_statistics.textproto");
    service.backends.calling.answer("GetVideoStatistics",
                                    from_text<calling::VideoStatistics>(received));
    const ApiAnswer statistics = service.call("GetVideoStatistics", "meeting_id: 7");
    ASSERT_TRUE(statistics.status.ok()) << statistics.status.error_message();
    EXPECT_EQ(
        statistics.response,
        normalized_answer("GetVideoStatistics", received + "\ntx_statistics {} meeting_id: 7"));
    const auto asked =
        service.backends.calling.requests<calling::MeetingInfo>("GetVideoStatistics");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].meeting_id(), 7u);
}

// Pairing.

constexpr const char* kGuestToken = "guest-7f3a9c";
constexpr const char* kPin = "480913";

TEST(PairingPlugin, HandsTheTokenAndThePinToTheCallerAndNeverToTheLog) {
    ConsoleCapture console;
    ServiceOnBackends service;
    service.backends.script("nimboultrasound.GetGuestToken",
                            std::string("token: '") + kGuestToken + "'");
    service.backends.script("nimboultrasound.GetManualPairPin", std::string("pin: '") + kPin + "'");
    EXPECT_EQ(service.call("GetGuestToken").response,
              std::string("token: \"") + kGuestToken + "\"");
    EXPECT_EQ(service.call("GetManualPairPin").response, std::string("pin: \"") + kPin + "\"");

    ASSERT_FALSE(console.lines().empty());  // the capture sees the service's log
    EXPECT_EQ(console.count(kGuestToken), 0u);
    EXPECT_EQ(console.count(kPin), 0u);
}

}  // namespace
}  // namespace vanta::testing
