// The account plugin in the whole service against a simulated account manager:
// the account states listed and a failed creation. Its events are in the
// table of plugin_events_test.cc, what the other account operations send and
// answer in the pass-through table (api/plugins_pass_through_rows.cc).

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "service_on_backends.h"

namespace vanta::testing {
namespace {

namespace accountmanager = vanta::accountmanager;

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
    ServiceOnBackends service;
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
    service.backends.accountmanager.reply("ListAccountStates", states);

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

}  // namespace
}  // namespace vanta::testing
