// The CLI's generic caller against a small VantaApi service on a temporary
// socket: JSON in, the operation called by name, JSON out, and the one line
// that names the status code of a failure.

#include <string>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_caller.h"
#include "cli_cases.h"
#include "sim/backend_server.h"
#include "support/temp_dir.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;

// Answers UXWakeUp with success exactly for BUTTON; refuses UXStandby and,
// as a daemon whose backend is down does, GetCurrentVolume.
class SmallApi final : public vantaapi::VantaApi::Service {
  public:
    grpc::Status UXWakeUp(grpc::ServerContext*, const vantaapi::UXWakeUpRequest* request,
                          vantaapi::RequestStatus* response) override {
        response->set_success(request->trigger() == vantaapi::UXWakeUpRequest::BUTTON);
        return grpc::Status::OK;
    }
    grpc::Status UXStandby(grpc::ServerContext*, const google::protobuf::Empty*,
                           google::protobuf::Empty*) override {
        return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION, "asleep\nalready");
    }
    grpc::Status GetCurrentVolume(grpc::ServerContext*, const google::protobuf::Empty*,
                                  vantaapi::VolumeStatus*) override {
        return grpc::Status(grpc::StatusCode::UNAVAILABLE, "VolumeManager is not reachable");
    }
};

class ApiCallerTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("api");
    SmallApi service_;
    sim::BackendServer server_{address_, {&service_}};
    cli::ApiCaller caller_{cli::Peer::connect("daemon", address_)};
};

TEST_F(ApiCallerTest, CallsTheOperationWithTheJsonRequestAndAnswersJson) {
    EXPECT_EQ(nlohmann::json::parse(caller_.call("UXWakeUp", R"({"trigger": "BUTTON"})")),
              (nlohmann::json{{"success", true}}));
    // Defaults are printed too, so an answer always shows its fields.
    EXPECT_EQ(nlohmann::json::parse(caller_.call("UXWakeUp", "")),
              (nlohmann::json{{"success", false}}));
}

TEST_F(ApiCallerTest, AFailedCallIsOneLineWithTheNameOfItsStatusCode) {
    const std::pair<std::string, std::string> cases[] = {
        {"UXStandby", "FAILED_PRECONDITION: asleep already"},
        // The daemon's own UNAVAILABLE is passed on: the daemon was reached.
        {"GetCurrentVolume", "UNAVAILABLE: VolumeManager is not reachable"},
    };
    for (const auto& [operation, line] : cases) {
        try {
            caller_.call(operation, "{}");
            ADD_FAILURE() << operation << " succeeded";
        } catch (const cli::CallFailed& failure) {
            EXPECT_EQ(failure.what(), line);
        }
    }
}

TEST(ApiCallerRefusals, BadInputIsRefusedBeforeAnyCallSayingWhatIsWrong) {
    TempDir dir;
    cli::ApiCaller caller(cli::Peer::connect("daemon", dir.socket_address("absent")));
    const auto rows = cli_cases("api_caller_refusals");
    ASSERT_EQ(rows.size(), 6u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dump());
        try {
            caller.call(row.at("operation"), row.at("request"));
            ADD_FAILURE() << "was called";
        } catch (const cli::UsageError& refusal) {
            EXPECT_THAT(refusal.what(), HasSubstr(row.at("says").get<std::string>()));
        } catch (const cli::CallFailed& failure) {
            ADD_FAILURE() << "was called: " << failure.what();
        }
    }
}

TEST(ApiCallerOperations, ListsEveryUnaryOperationWithItsTypes) {
    const auto operations = cli::ApiCaller::operations();
    EXPECT_EQ(operations.size(), 216u);
    EXPECT_THAT(operations, ::testing::Contains("UXWakeUp(vantaapi.UXWakeUpRequest) -> "
                                                "vantaapi.RequestStatus"));
}

}  // namespace
}  // namespace vanta::testing
