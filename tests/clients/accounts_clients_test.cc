// The account-manager client against a fake of its backend: the operations
// the API never asks for and how the account manager's events become changes.
// Its event stream is in the table of observable_clients_test.cc.

#include <chrono>
#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/accountmanager/accountmanager_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"
#include "served_backend.h"
#include "sim/accountmanager_backend.h"
#include "support/bus_translation_table.h"
#include "support/recording_logger.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace accountmanager = vanta::accountmanager;

// Account manager.

class AccountClientTest : public ::testing::Test {
  protected:
    Served<sim::AccountManagerBackend> served_{device_endpoints().account_manager};
    sim::AccountManagerBackend& fake_ = served_.backend;
    ManualExecutor executor_;
    RecordingLogger logger_;
    // How often an observer was told anything (the handler runs on the test's
    // thread).
    int told_ = 0;
    const accountmanager::Client::StateCallback on_state_ = [this](accountmanager::StateChange,
                                                                   const std::string&) { ++told_; };
    const std::function<void()> on_ready_ = [this] { ++told_; };
    accountmanager::ClientImpl client_{executor_, served_.endpoint, logger_};
};

// Which change each event type becomes, and which it drops, is seen by API
// subscribers (plugins/plugin_events_test.cc), the stream start in the table of
// observable_clients_test.cc.
TEST_F(AccountClientTest, AnUnknownChangeIsLoggedAndSentinelsRaise) {
    const auto handle = [&](int what) {
        accountmanager::Event event;
        event.set_what(static_cast<accountmanager::EventType>(what));
        client_.observed_event_handler(on_state_, on_ready_, event);
    };
    handle(accountmanager::UNKNOWN_CHANGE);
    EXPECT_EQ(told_, 0);
    EXPECT_THAT(logger_.lines(), ElementsAre("I observed_event_handler UNKNOWN_CHANGE"));
    for (int sentinel : {INT_MIN, INT_MAX}) {
        EXPECT_THAT([&] { handle(sentinel); }, ::testing::ThrowsMessage<std::runtime_error>(
                                                   "Unsupported accountmanager event type"))
            << sentinel;
    }
}

// The line logged for a missing callback is the observable client's
// (rpc/client/observable_client_test.cc).
TEST_F(AccountClientTest, AnEventWithoutBothCallbacksIsDropped) {
    const auto change = from_text<accountmanager::Event>("what: ACCOUNT_REGISTRATION_CHANGED");
    client_.observed_event_handler(on_state_, nullptr, change);
    client_.observed_event_handler(nullptr, on_ready_, change);
    EXPECT_EQ(told_, 0);
}

// The operations the API serves are checked through it
// (api/plugins_pass_through_rows.textproto); the account state it never asks for is
// checked here, and the bootstrap state, which never raises.
TEST_F(AccountClientTest, AccountStatePassesTheIdAndBootstrapStateNeverRaises) {
    const auto state =
        from_text<accountmanager::AccountState>("account_id { id: 'a2' } account_type: ORVA");
    fake_.reply("GetAccountState", state);
    EXPECT_EQ(client_.GetAccountState("a2").ShortDebugString(), state.ShortDebugString());
    EXPECT_THAT(fake_.calls_with_requests(), ElementsAre("GetAccountState(id: \"a2\")"));

    fake_.reply("GetBootstrapState", from_text<accountmanager::BootstrapState>("state: READY"));
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::READY);

    fake_.fail_with(grpc::StatusCode::INTERNAL, "broken");
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::INITIALIZING);
    EXPECT_THAT(logger_.lines(),
                ElementsAre("E GetBootstrapState: AccountManager::GetBootstrapState: INTERNAL - "
                            "[broken]"));

    logger_.clear();
    served_.server.shutdown();
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::ERROR);
    EXPECT_THAT(logger_.lines(), IsEmpty());
}

}  // namespace
}  // namespace vanta::testing
