// Every unary operation of the service with no backend running: each answers
// exactly its status code and message. This pins the whole failure contract.

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <gtest/gtest.h>

#include "api_harness.h"
#include "failure_rows.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

std::vector<FailureRow> all_rows() {
    std::vector<FailureRow> rows;
    for (auto group : {service_failure_rows, calling_failure_rows, devices_failure_rows,
                       network_failure_rows, platform_failure_rows}) {
        for (auto& row : group()) {
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

bool message_matches(const std::string& expected, const std::string& actual) {
    if (!expected.empty() && expected.back() == '*') {
        return actual.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    }
    return actual == expected;
}

TEST(NoBackend, EveryUnaryOperationAnswersItsFailure) {
    ApiHarness api;
    auto stub = api.client();
    const auto rows = all_rows();
    std::set<std::string> covered;
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.operation);
        EXPECT_TRUE(covered.insert(row.operation).second) << "two rows";
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 20s);
        std::string answer;
        const grpc::Status status = row.call(*stub, context, answer);
        EXPECT_EQ(status.error_code(), row.code) << status.error_message();
        EXPECT_TRUE(message_matches(row.message, status.error_message()))
            << "expected: " << row.message << "\nanswered: " << status.error_message();
        if (row.answer) {
            EXPECT_EQ(answer, *row.answer);
        }
    }
    // Every unary operation of the service has its row.
    const auto* service =
        google::protobuf::DescriptorPool::generated_pool()->FindServiceByName("vantaapi.VantaApi");
    ASSERT_NE(service, nullptr);
    for (int i = 0; i < service->method_count(); ++i) {
        const auto* method = service->method(i);
        if (!method->client_streaming() && !method->server_streaming()) {
            EXPECT_EQ(covered.count(method->name()), 1u) << method->name() << " has no row";
        }
    }
}

}  // namespace
}  // namespace vanta::testing
