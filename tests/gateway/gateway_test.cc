// The command gateway as the daemon runs it: the gateway on its socket calls
// the real VantaApi service on its socket, which calls simulated volume
// manager, system controller and calendar backends. Every case runs in a
// private /tmp. The requests and what they answer are the table in
// gateway_cases.json.

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "api/api_harness.h"
#include "api/device_backends.h"
#include "gateway/zapigateway_service.h"
#include "rpc/client/grpc_exceptions.h"
#include "support/data_files.h"
#include "zapigateway.grpc.pb.h"

namespace vanta::testing {
namespace {

using nlohmann::json;
using ::testing::MatchesRegex;
using Stub = zapigateway::ZapiGateway::Stub;

// A payload is its text, or a list of parts joined, [text, n] being text n
// times.
std::string payload_of(const json& written) {
    if (written.is_string()) {
        return written;
    }
    std::string payload;
    for (const json& part : written) {
        if (part.is_string()) {
            payload += part.get<std::string>();
        }
        for (size_t i = 0; part.is_array() && i < part[1].get<size_t>(); ++i) {
            payload += part[0].get<std::string>();
        }
    }
    return payload;
}

class GatewayTest : public ::testing::Test {
  protected:
    GatewayTest() { gateway_->run(GrpcServer::AccessLevel::Unchanged); }

    DeviceBackends backends_;
    ApiHarness api_;
    WaitingExecutor gateway_executor_;
    std::unique_ptr<GrpcServer> gateway_ =
        zapigateway::create_service(gateway_executor_, "unix:/tmp/zapigateway");
    std::unique_ptr<Stub> stub_ = zapigateway::ZapiGateway::NewStub(
        grpc::CreateChannel("unix:/tmp/zapigateway", grpc::InsecureChannelCredentials()));
};

TEST_F(GatewayTest, ListsTheSchemasOfItsCommandsAndStatuses) {
    const json expected = read_json(GATEWAY_CASES_FILE).at("schemas");
    for (const auto& [listing, which] : {std::pair(&Stub::GetCommandSchemas, "commands"),
                                         std::pair(&Stub::GetStatusSchemas, "statuses")}) {
        zapigateway::ZapiSchemas response;
        grpc::ClientContext context;
        ASSERT_TRUE(((*stub_).*listing)(&context, google::protobuf::Empty(), &response).ok());
        EXPECT_EQ(json::parse(response.schemas()), expected.at(which)) << which;
    }
}

// Each row: the backends' scripted replies (kept for the rows after it) or
// the operation whose backend is unavailable (for that row), the request,
// its status code, its answer (but for the time at "utc_time_at") and the
// calls the backends saw. A row with only "what" names the rows below it.
TEST_F(GatewayTest, AnswersEveryRequestAsItsRowSays) {
    const json rows = read_json(GATEWAY_CASES_FILE).at("requests");
    ASSERT_EQ(rows.size(), 47u);
    std::string heading;
    for (const json& row : rows) {
        if (row.size() == 1) {
            heading = row.at("what");
            continue;
        }
        SCOPED_TRACE(heading + ": " + row.dump().substr(0, 200));
        if (row.contains("replies")) {
            for (const auto& [operation, reply] : row["replies"].items()) {
                backends_.script(operation, reply);
            }
        }
        const std::string unavailable = row.value("unavailable", "");
        if (!unavailable.empty()) {
            backends_.fail(unavailable, grpc::Status(grpc::StatusCode::UNAVAILABLE, "away"));
        }
        const auto marks = backends_.marks();
        // "Command" unless the row's "rpc" says "Status".
        zapigateway::ZapiMessage request;
        request.set_path(row.at("path"));
        request.set_payload(payload_of(row.value("payload", json("{}"))));
        zapigateway::ZapiResponse response;
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + std::chrono::seconds(20));
        const auto rpc = row.value("rpc", "Command") == "Status" ? &Stub::Status : &Stub::Command;
        const grpc::Status status = ((*stub_).*rpc)(&context, request, &response);
        std::string answer = response.payload();
        if (!unavailable.empty()) {
            backends_.fail(unavailable, grpc::Status::OK);
        }

        EXPECT_EQ(GrpcStatusCodeToString(status.error_code()), row.value("code", "OK"))
            << status.error_message();
        if (status.ok() && row.contains("utc_time_at")) {
            // The time of the answer: only its form is known.
            json parsed = json::parse(answer);
            const json::json_pointer at(row["utc_time_at"].get<std::string>());
            EXPECT_THAT(
                parsed[at].get<std::string>(),
                MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+]0000"));
            parsed[at.parent_pointer()].erase(at.back());
            answer = parsed.dump();
        }
        if (status.ok()) {
            EXPECT_EQ(answer, row.at("answer").dump());
        }
        EXPECT_EQ(backends_.calls_since(marks), row.value("calls", std::vector<std::string>()));
    }
}

}  // namespace
}  // namespace vanta::testing
