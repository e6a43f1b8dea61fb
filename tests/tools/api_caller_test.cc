// The CLI's generic caller against a small VantaApi service on a temporary
// socket: JSON in, the operation called by name, JSON out.

#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_caller.h"
#include "sim/backend_server.h"
#include "support/temp_dir.h"
#include "vantaapi.grpc.pb.h"

namespace vanta::testing {
namespace {

// Answers UXWakeUp with success exactly for BUTTON, and refuses UXStandby.
class SmallApi final : public vantaapi::VantaApi::Service {
  public:
    grpc::Status UXWakeUp(grpc::ServerContext*, const vantaapi::UXWakeUpRequest* request,
                          vantaapi::RequestStatus* response) override {
        response->set_success(request->trigger() == vantaapi::UXWakeUpRequest::BUTTON);
        return grpc::Status::OK;
    }
    grpc::Status UXStandby(grpc::ServerContext*, const google::protobuf::Empty*,
                           google::protobuf::Empty*) override {
        return grpc::Status(grpc::StatusCode::FAILED_PRECONDITION, "asleep already");
    }
};

class ApiCallerTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string address_ = dir_.socket_address("api");
    SmallApi service_;
    sim::BackendServer server_{address_, {&service_}};
    cli::ApiCaller caller_{grpc::CreateChannel(address_, grpc::InsecureChannelCredentials())};
};

TEST_F(ApiCallerTest, CallsTheOperationWithTheJsonRequestAndAnswersJson) {
    const auto button = caller_.call("UXWakeUp", R"({"trigger": "BUTTON"})");
    ASSERT_TRUE(button.status.ok()) << button.status.error_message();
    EXPECT_EQ(nlohmann::json::parse(button.json), (nlohmann::json{{"success", true}}));

    // Defaults are printed too, so an answer always shows its fields.
    const auto unknown = caller_.call("UXWakeUp", "");
    EXPECT_EQ(nlohmann::json::parse(unknown.json), (nlohmann::json{{"success", false}}));
}

TEST_F(ApiCallerTest, FailuresArePassedOnAndBadInputIsRefusedBeforeAnyCall) {
    const auto refused = caller_.call("UXStandby", "{}");
    EXPECT_EQ(refused.status.error_code(), grpc::StatusCode::FAILED_PRECONDITION);
    EXPECT_EQ(refused.status.error_message(), "asleep already");
    EXPECT_TRUE(refused.json.empty());

    EXPECT_THROW(caller_.call("Subscribe", "{}"), std::invalid_argument);
    EXPECT_THROW(caller_.call("NoSuchOperation", "{}"), std::invalid_argument);
    EXPECT_THROW(caller_.call("UXWakeUp", R"({"trigger": "ELBOW"})"), std::invalid_argument);
    EXPECT_THROW(caller_.call("UXWakeUp", "{not json"), std::invalid_argument);
}

TEST(ApiCallerOperations, ListsEveryUnaryOperationWithItsTypes) {
    const auto operations = cli::ApiCaller::operations();
    EXPECT_EQ(operations.size(), 216u);
    EXPECT_THAT(operations, ::testing::Contains("UXWakeUp(vantaapi.UXWakeUpRequest) -> "
                                                "vantaapi.RequestStatus"));
}

}  // namespace
}  // namespace vanta::testing
