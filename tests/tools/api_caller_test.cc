// The CLI's generic caller against a small VantaApi service on a temporary
// socket: JSON in, the operation called by name, JSON out, the one line that
// names the status code of a failure, and bad input refused before any call.
// Its rows are the table "api_caller" in cli_cases.json.

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api_caller.h"
#include "cli_cases.h"
#include "sim/backend_server.h"
#include "support/temp_dir.h"

namespace vanta::testing {
namespace {

using ::testing::HasSubstr;

TEST(ApiCaller, AnswersFailsOrRefusesAsItsRowsSay) {
    TempDir dir;
    SmallApi service;
    sim::BackendServer server(dir.socket_address("api"), {&service});
    cli::ApiCaller caller(cli::Peer::connect("daemon", dir.socket_address("api")));
    const auto rows = cli_cases("api_caller");
    ASSERT_EQ(rows.size(), 10u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dump());
        try {
            const std::string answer = caller.call(row.at("operation"), row.at("request"));
            EXPECT_EQ(nlohmann::json::parse(answer), row.value("answer", nlohmann::json()));
        } catch (const cli::UsageError& refusal) {
            EXPECT_THAT(refusal.what(), HasSubstr(row.value("refused", "(not refused)")));
        } catch (const cli::CallFailed& failure) {
            EXPECT_EQ(failure.what(), row.value("fails", "(did not fail)"));
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
