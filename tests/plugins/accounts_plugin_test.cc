// The account plugin in the whole service against a simulated account manager:
// the account events subscribers receive, and what each account operation
// sends and answers.

#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "service_on_backend.h"
#include "sim/accountmanager_backend.h"

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
namespace accountmanager = vanta::accountmanager;
using Accounts = ServiceOnBackend<sim::AccountManagerBackend>;

accountmanager::Event account_event(int what, const std::string& id) {
    accountmanager::Event event;
    event.set_what(static_cast<accountmanager::EventType>(what));
    event.mutable_account_id()->set_id(id);
    return event;
}

TEST(AccountPlugin, StateAndDetailsChangesArePublishedAndOtherEventsAreNot) {
    Accounts service(&EndpointCatalogue::account_manager);
    ASSERT_TRUE(service.subscribed());
    ASSERT_TRUE(service.backend.events.wait_for_open_streams(1));
    // Each event that publishes nothing comes before one that does: the
    // stream keeps the order.
    for (const auto& [what, id] : std::vector<std::pair<int, std::string>>{
             {accountmanager::BOOTSTRAP_STATE_CHANGED, "b0"},
             {accountmanager::ACCOUNT_REGISTRATION_CHANGED, "a1"},
             {accountmanager::UNKNOWN_CHANGE, "u0"},
             {accountmanager::STREAM_STARTED, "s0"},
             {accountmanager::ACCOUNT_ACTIVATION_CHANGED, "a2"},
             {9, "n9"},
             {accountmanager::ACCOUNT_DETAILS_CHANGED, "a3"}}) {
        service.backend.events.publish(account_event(what, id));
    }
    std::vector<std::string> published;
    for (const vantaapi::VantaEvent& event : service.published(3)) {
        published.push_back(event.ShortDebugString());
    }
    EXPECT_THAT(published,
                ElementsAre("account_event { what: ACCOUNT_STATE account_id { id: \"a1\" } }",
                            "account_event { what: ACCOUNT_STATE account_id { id: \"a2\" } }",
                            "account_event { what: ACCOUNT_DETAILS account_id { id: \"a3\" } }"));
}

TEST(AccountPlugin, ListedStatesTranslateTheActivationReasonByName) {
    using Api = vantaapi::ActivationState;
    const std::vector<std::pair<int, Api::Reason>> reasons = {
        {0, Api::NONE},
        {1, Api::UNKNOWN_ERROR},
        {2, Api::NETWORK_ERROR},
        {3, Api::HTTP_ERROR},
        {4, Api::INVALID_SERVER_CERTIFICATE},
        {5, Api::ACTIVATION_CODE_REJECTED},
        {6, Api::TIMEDOUT},
        {7, Api::REFRESH_TOKEN_INVALIDATED},
        {8, Api::TFTP_SERVER_NOT_CONFIGURED},
        {9, Api::TFTP_SERVER_HOST_NOT_FOUND},
        {10, Api::DEVICE_NOT_PROVISIONED},
        {11, Api::FAILED_TO_VERIFY_CONFIG_FILE},
        {12, Api::NETWORK_ERROR},  // CANT_CONNECT_TO_SERVER
        {13, Api::INVALID_CONFIGURATION_FILE},
        {14, Api::PERSONAL_ACCOUNT_UNSUPPORTED},
        {15, Api::BUSY_TRY_AGAIN_LATER},
        {20, Api::NONE},
    };
    Accounts service(&EndpointCatalogue::account_manager);
    accountmanager::AccountStateList states;
    for (const auto& [backend_reason, api_reason] : reasons) {
        states.add_state_list()->mutable_activation_state()->set_reason(
            static_cast<accountmanager::ActivationState::Reason>(backend_reason));
    }
    // The other enumerations keep 0 to their highest shared number; beyond
    // it they are unknown.
    accountmanager::AccountState& known = *states.add_state_list();
    known.mutable_account_id()->set_id("a1");
    known.set_account_type(accountmanager::ORVA);
    known.mutable_activation_state()->set_state(accountmanager::ActivationState::ACTIVATED);
    known.mutable_registration_state()->set_state(accountmanager::RegistrationState::REGISTERED);
    known.mutable_registration_state()->set_reason(
        accountmanager::RegistrationState::SERVICE_STOPPED);
    accountmanager::AccountState& beyond = *states.add_state_list();
    beyond.mutable_account_id()->set_id("a2");
    beyond.set_account_type(static_cast<accountmanager::AccountType>(4));
    beyond.mutable_activation_state()->set_state(
        static_cast<accountmanager::ActivationState::State>(4));
    beyond.mutable_registration_state()->set_state(
        static_cast<accountmanager::RegistrationState::State>(4));
    beyond.mutable_registration_state()->set_reason(
        static_cast<accountmanager::RegistrationState::Reason>(6));
    service.backend.reply("ListAccountStates", states);

    grpc::ClientContext context;
    vantaapi::AccountStateList listed;
    ASSERT_TRUE(service.stub->ListAccountStates(&context, {}, &listed).ok());
    ASSERT_EQ(listed.state_list_size(), static_cast<int>(reasons.size()) + 2);
    for (size_t i = 0; i < reasons.size(); ++i) {
        EXPECT_EQ(listed.state_list(i).activation_state().reason(), reasons[i].second)
            << "backend reason " << reasons[i].first;
    }
    EXPECT_EQ(listed.state_list(reasons.size()).ShortDebugString(),
              "account_id { id: \"a1\" } activation_state { state: ACTIVATED } "
              "registration_state { state: REGISTERED reason: SERVICE_STOPPED } "
              "account_type: ORVA_ACCOUNT");
    EXPECT_EQ(listed.state_list(reasons.size() + 1).ShortDebugString(),
              "account_id { id: \"a2\" } activation_state { } registration_state { }");
}

// The refusal of a request of no kind is the no-backend table's.
TEST(AccountPlugin, CreateAccountSendsTheRequestsKind) {
    Accounts service(&EndpointCatalogue::account_manager);
    accountmanager::ActivationResponse created;
    created.mutable_account_id()->set_id("acc-7");
    created.set_status(accountmanager::ActivationResponse::ALREADY_IN_PROGRESS);
    service.backend.reply("CreateAccount", created);

    const ApiAnswer nimbo =
        service.call("CreateAccount", "nimbo_request { activation_code: 'C1' }");
    ASSERT_TRUE(nimbo.status.ok()) << nimbo.status.error_message();
    EXPECT_EQ(nimbo.response,
              "status: ACTIVATION_ALREADY_IN_PROGRESS account_id { id: \"acc-7\" }");
    // A status the API does not know is UNKNOWN.
    created.set_status(static_cast<accountmanager::ActivationResponse::Status>(5));
    service.backend.reply("CreateAccount", created);
    EXPECT_EQ(service
                  .call("CreateAccount",
                        "krell_request { tftp_ip_address: '10.0.0.2' tftp_ip_address: '10.0.0.1' }")
                  .response,
              "account_id { id: \"acc-7\" }");
    EXPECT_TRUE(service
                    .call("CreateAccount",
                          "orva_request { username: 'u' password: 'p' proxy: 'proxy:8080' }")
                    .status.ok());
    // An empty list still says which kind of account is meant.
    EXPECT_TRUE(service.call("CreateAccount", "krell_request {}").status.ok());

    EXPECT_THAT(service.backend.calls_with_requests(),
                ElementsAre("CreateAccount(nimbo_activation { activation_code: \"C1\" })",
                            "CreateAccount(krell_activation { tftp_ip_address: \"10.0.0.2\" "
                            "tftp_ip_address: \"10.0.0.1\" })",
                            "CreateAccount(orva_activation { username: \"u\" password: \"p\" "
                            "proxy: \"proxy:8080\" })",
                            "CreateAccount(krell_activation { })"));
}

// A failure of the account manager answers as the no-backend table shows
// (api/service_failure_rows.cc).
TEST(AccountPlugin, DeleteAndDetailsPassTheId) {
    Accounts service(&EndpointCatalogue::account_manager);
    accountmanager::AccountDetails krell;
    krell.mutable_krell_account_details()->set_server("tftp.example");
    service.backend.reply("GetAccountDetails", krell);
    EXPECT_EQ(service.call("GetAccountDetails", "id: 'a1'").response,
              "krell_account_details { server: \"tftp.example\" }");
    accountmanager::AccountDetails nimbo;
    nimbo.mutable_nimbo_account_details();
    service.backend.reply("GetAccountDetails", nimbo);
    EXPECT_EQ(service.call("GetAccountDetails", "id: 'a2'").response, "krell_account_details { }");
    service.backend.reply("DeleteAccount", google::protobuf::Empty());
    EXPECT_EQ(service.call("DeleteAccount", "id: 'a3'").response, "success: true");
    EXPECT_THAT(service.backend.calls_with_requests(),
                ElementsAre("GetAccountDetails(id: \"a1\")", "GetAccountDetails(id: \"a2\")",
                            "DeleteAccount(id: \"a3\")"));
}

}  // namespace
}  // namespace vanta::testing
