// Every unary operation of the service, called with its default request, with
// no backend running: each answers exactly its status code and message. This
// pins the whole failure contract. The rows are in the *_failure_rows.textproto
// files.

#include <set>
#include <string>

#include <google/protobuf/descriptor.h>
#include <gtest/gtest.h>

#include "api_call.h"
#include "api_harness.h"
#include "api_rows.pb.h"
#include "support/data_files.h"

namespace vanta::testing {
namespace {

bool message_matches(const std::string& expected, const std::string& actual) {
    if (!expected.empty() && expected.back() == '*') {
        return actual.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    }
    return actual == expected;
}

TEST(NoBackend, EveryUnaryOperationAnswersItsFailure) {
    ApiHarness api;
    const auto channel = grpc::CreateChannel(kApiAddress, grpc::InsecureChannelCredentials());
    std::set<std::string> covered;
    for (const char* group : {"service", "calling", "devices", "network", "platform"}) {
        const auto rows = read_text_format<rows::FailureRows>(
            std::string(VANTA_API_ROWS_DIR) + "/" + group + "_failure_rows.textproto");
        for (const rows::FailureRow& row : rows.row()) {
            SCOPED_TRACE(row.operation());
            EXPECT_TRUE(covered.insert(row.operation()).second) << "two rows";
            const ApiAnswer answer = call_api(*channel, row.operation(), "");
            EXPECT_EQ(answer.status.error_code(), static_cast<grpc::StatusCode>(row.code()))
                << answer.status.error_message();
            EXPECT_TRUE(message_matches(row.message(), answer.status.error_message()))
                << "expected: " << row.message() << "\nanswered: " << answer.status.error_message();
            if (row.has_answer()) {
                EXPECT_EQ(answer.response, normalized_answer(row.operation(), row.answer()));
            }
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
