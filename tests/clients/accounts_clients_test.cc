// The account-manager, share-governor and phone-book clients against fakes of
// their backends: what each sends and how it reads the answer, the typed
// errors, and how the account manager's events become changes. Their event
// streams are in the table of observable_clients_test.cc.

#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "clients/accountmanager/accountmanager_client_impl.h"
#include "clients/phonebook/phonebook_client_impl.h"
#include "clients/sharegovernor/sharegovernor_client_impl.h"
#include "rpc/client/grpc_exceptions.h"
#include "runtime/executor/manual_executor.h"
#include "sim/accountmanager_backend.h"
#include "sim/backend_server.h"
#include "sim/phonebook_backend.h"
#include "sim/sharegovernor_backend.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "support/test_endpoint.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace accountmanager = vanta::accountmanager;
namespace sharegovernor = vanta::sharegovernor;
namespace phonebook = vanta::phonebook;

template <typename Message>
Message text(const std::string& text_format) {
    Message message;
    EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(text_format, &message))
        << text_format;
    return message;
}

// Every field of `answer` is that of `scripted`.
void expect_same(const google::protobuf::Message& answer,
                 const google::protobuf::Message& scripted) {
    EXPECT_EQ(answer.ShortDebugString(), scripted.ShortDebugString());
}

// What an observer was told, in order.
class Observed {
  public:
    void record(const std::string& what) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(what);
    }
    std::function<void()> on_ready() {
        return [this] { record("ready"); };
    }
    accountmanager::Client::StateCallback on_state() {
        return [this](accountmanager::StateChange change, const std::string& id) {
            record(std::to_string(static_cast<int>(change)) + ":" + id);
        };
    }
    std::vector<std::string> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

// Account manager.

class AccountClientTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("account_manager");
    sim::AccountManagerBackend fake_;
    std::unique_ptr<sim::BackendServer> server_ = std::make_unique<sim::BackendServer>(
        address_, std::initializer_list<grpc::Service*>{&fake_});
    ManualExecutor executor_;
    RecordingLogger logger_;
    Observed observed_;
    accountmanager::ClientImpl client_{
        executor_, endpoint_at(device_endpoints().account_manager, address_, 2000ms), logger_};
};

TEST_F(AccountClientTest, EachEventTypeBecomesItsChangeOrIsDropped) {
    const auto handle = [&](int what) {
        accountmanager::Event event;
        event.set_what(static_cast<accountmanager::EventType>(what));
        event.mutable_account_id()->set_id("a" + std::to_string(what));
        client_.observed_event_handler(observed_.on_state(), observed_.on_ready(), event);
    };
    for (int what : {0, 1, 2, 3, 4, 5, 9}) {
        handle(what);
    }
    EXPECT_THAT(observed_.seen(), ElementsAre("ready", "0:a2", "1:a3", "1:a4", "2:a5"));
    EXPECT_THAT(logger_.lines(), ElementsAre("I observed_event_handler UNKNOWN_CHANGE"));
    for (int sentinel : {INT_MIN, INT_MAX}) {
        try {
            handle(sentinel);
            FAIL() << "no exception for " << sentinel;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Unsupported accountmanager event type");
        }
    }
}

TEST_F(AccountClientTest, AnEventWithoutBothCallbacksIsLoggedAndDropped) {
    const auto change = text<accountmanager::Event>("what: ACCOUNT_REGISTRATION_CHANGED");
    client_.observed_event_handler(observed_.on_state(), nullptr, change);
    client_.observed_event_handler(nullptr, observed_.on_ready(), change);
    EXPECT_THAT(observed_.seen(), IsEmpty());
    EXPECT_EQ(logger_.count("E observed_event_handler: Unable to handle event, callback is null"),
              2u);
}

TEST_F(AccountClientTest, CreateOperationsSendTheirKindOfRequestAndAnswerTheReply) {
    fake_.reply("CreateAccount", text<accountmanager::ActivationResponse>(
                                     "account_id { id: 'acc-7' } status: ALREADY_IN_PROGRESS"));
    const auto nimbo = client_.CreateNimboAccount("ABCD-1234");
    EXPECT_EQ(nimbo.account_id().id(), "acc-7");
    EXPECT_EQ(nimbo.status(), accountmanager::ActivationResponse::ALREADY_IN_PROGRESS);
    client_.CreateKrellAccount({"10.0.0.2", "10.0.0.1"});
    client_.CreateKrellAccount({});
    client_.CreateOrvaAccount("user", "secret", "proxy:8080");
    EXPECT_THAT(
        fake_.calls_with_requests(),
        ElementsAre("CreateAccount(nimbo_activation { activation_code: \"ABCD-1234\" })",
                    "CreateAccount(krell_activation { tftp_ip_address: \"10.0.0.2\" "
                    "tftp_ip_address: \"10.0.0.1\" })",
                    "CreateAccount(krell_activation { })",
                    "CreateAccount(orva_activation { username: \"user\" password: \"secret\" "
                    "proxy: \"proxy:8080\" })"));
}

TEST_F(AccountClientTest, AccountQueriesPassTheIdAndAnswerTheReply) {
    const auto states = text<accountmanager::AccountStateList>(R"(
        state_list { account_id { id: 'a1' } account_type: KRELL
                     activation_state { state: ACTIVATED reason: CANT_CONNECT_TO_SERVER }
                     registration_state { state: REGISTERING reason: TIMEDOUT } }
        state_list { account_id { id: 'a2' } account_type: NIMBO })");
    const auto details =
        text<accountmanager::AccountDetails>("krell_account_details { server: 'tftp.example' }");
    const auto state =
        text<accountmanager::AccountState>("account_id { id: 'a2' } account_type: ORVA");
    fake_.reply("ListAccountStates", states);
    fake_.reply("GetAccountDetails", details);
    fake_.reply("GetAccountState", state);

    expect_same(client_.ListAccountStates(), states);
    expect_same(client_.GetAccountDetails("a1"), details);
    expect_same(client_.GetAccountState("a2"), state);
    client_.DeleteAccount("a3");
    EXPECT_THAT(fake_.calls_with_requests(),
                ElementsAre("ListAccountStates()", "GetAccountDetails(id: \"a1\")",
                            "GetAccountState(id: \"a2\")", "DeleteAccount(id: \"a3\")"));
}

TEST_F(AccountClientTest, BootstrapStateNeverRaises) {
    fake_.reply("GetBootstrapState", text<accountmanager::BootstrapState>("state: READY"));
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::READY);

    fake_.fail_with(grpc::StatusCode::INTERNAL, "broken");
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::INITIALIZING);
    EXPECT_THAT(logger_.lines(),
                ElementsAre("E GetBootstrapState: AccountManager::GetBootstrapState: INTERNAL - "
                            "[broken]"));

    logger_.clear();
    server_->shutdown();
    EXPECT_EQ(client_.GetBootstrapState(), accountmanager::BootstrapState::ERROR);
    EXPECT_THAT(logger_.lines(), IsEmpty());
}

// Share governor.

class ShareGovernorClientTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("share_governor");
    sim::ShareGovernorBackend fake_;
    sim::BackendServer server_{address_, {&fake_}};
    ManualExecutor executor_;
    RecordingLogger logger_;
    sharegovernor::ClientImpl client_{
        executor_, endpoint_at(device_endpoints().share_governor, address_, 2000ms), logger_};
};

TEST_F(ShareGovernorClientTest, OperationsReachTheGovernorAndActiveSharesAreCopied) {
    const auto shares = text<sharegovernor::ActiveShares>(R"(
        shares { id: 4 type: IN_CALL_WIRED_SHARE parent_session: KRELL_CALL
                 parent_session_id: 4000000000 }
        shares { id: 5 type: LOCAL_WIRELESS_SHARE parent_session: OUT_OF_CALL })");
    fake_.reply("GetActiveShares", shares);
    expect_same(client_.GetActiveShares(), shares);
    client_.StartWiredShare();
    client_.StartLocalPreview();
    client_.StopAllShares();
    EXPECT_THAT(fake_.calls(), ElementsAre("GetActiveShares", "StartWiredShare",
                                           "StartLocalPreview", "StopAllShares"));
}

// Phone book.

TEST(PhonebookClient, SearchSendsTheQueryAndAnswersTheEntries) {
    TempDir dir;
    const std::string address = dir.socket_address("phonebook");
    sim::PhonebookBackend fake;
    sim::BackendServer server(address, {&fake});
    RecordingLogger logger;
    phonebook::ClientImpl client(endpoint_at(device_endpoints().phonebook, address, 2000ms),
                                 logger);
    const auto entries = text<phonebook::SearchResponse>(R"(
        results { uuid: 'u1' display_name: 'Ada' email: 'ada@example' sip_uri: 'sip:ada@example'
                  avatar_uri: 'http://a/1' favorite: true type: PERSON
                  phone_numbers { type: MOBILE value: '+4712345678' } }
        results { uuid: 'u2' type: DEVICE }
        offset: 20 total_matches: 42 status: SUCCESS)");
    fake.reply("Search", entries);

    expect_same(client.Search(text<phonebook::SearchRequest>(
                    "query: 'ad' offset: 20 max_results: 2 directory: CORPORATE filter: PEOPLE")),
                entries);
    EXPECT_THAT(fake.calls_with_requests(),
                ElementsAre("Search(query: \"ad\" offset: 20 max_results: 2 directory: CORPORATE "
                            "filter: PEOPLE)"));

    fake.fail_with(grpc::StatusCode::INVALID_ARGUMENT, "query too short");
    try {
        client.Search(phonebook::SearchRequest());
        FAIL() << "no exception";
    } catch (const ServiceInvalidArgumentError& e) {
        EXPECT_STREQ(e.what(), "PhonebookService::Search: INVALID_ARGUMENT - [query too short]");
    }
}

}  // namespace
}  // namespace vanta::testing
