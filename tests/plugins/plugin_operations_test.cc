// The plugin operations through the whole service that the pass-through
// table (tests/api) cannot show, every backend simulated on a temporary
// socket: the account states listed. The plugins' events are in
// plugin_events_test.cc.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "service_on_backends.h"
#include "support/bus_translation_table.h"

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

}  // namespace
}  // namespace vanta::testing
