// The shared unary-call helper of the backend clients against a real server.

#include <chrono>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clients/common/unary_call.h"
#include "rpc/client/grpc_exceptions.h"
#include "sim/backend_server.h"
#include "support/fake_test_service.h"
#include "support/recording_logger.h"
#include "support/temp_dir.h"
#include "testservice.grpc.pb.h"

using namespace std::chrono_literals;

namespace vanta::testing {
namespace {

using ::testing::ElementsAre;
using Stub = vanta::test::TestService::Stub;

class UnaryCallTest : public ::testing::Test {
  protected:
    clients::UnaryCall call() { return {service_name_, "Echo", 2000ms, logger_}; }
    static vanta::test::EchoRequest request(const std::string& text) {
        vanta::test::EchoRequest echo;
        echo.set_text(text);
        return echo;
    }

    TempDir dir_;
    std::string address_ = dir_.socket_address("echo");
    FakeTestService service_;
    sim::BackendServer server_{address_, {&service_}};
    std::unique_ptr<Stub> stub_ = vanta::test::TestService::NewStub(
        grpc::CreateChannel(address_, grpc::InsecureChannelCredentials()));
    const std::string service_name_ = "EchoClient";
    RecordingLogger logger_;
};

// A deadline of either style is the failure table's (client_failures_test.cc),
// which code raises which error the status translation's
// (rpc/client/grpc_errors_test.cc), the trace metadata that `prepare` adds the
// call-control client's (calling_client_test.cc).
TEST_F(UnaryCallTest, StyleAAnswersTheReplyOrNothingForRecoverableCodes) {
    const auto reply = clients::call_or_empty(*stub_, &Stub::Echo, request("hi"), call());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->text(), "hi");

    for (const int code : {1, 2, 12, 13, 14}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(clients::call_or_empty(
            *stub_, &Stub::Echo, request("status:" + std::to_string(code) + ":away"), call()));
    }
    const auto lines = logger_.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "E Echo request failed, grpc error: away, code: UNAVAILABLE");
}

TEST_F(UnaryCallTest, StyleARaisesForOtherCodesAfterLogging) {
    EXPECT_THAT(
        [&] { clients::call_or_empty(*stub_, &Stub::Echo, request("status:3:bad"), call()); },
        ::testing::ThrowsMessage<std::runtime_error>(
            "Echo: unrecoverable grpc error: INVALID_ARGUMENT"));
    EXPECT_THAT(logger_.lines(),
                ElementsAre("E Echo request failed, grpc error: bad, code: INVALID_ARGUMENT"));
}

TEST_F(UnaryCallTest, StyleBAnswersTheReplyOrRaisesWithoutLogging) {
    EXPECT_EQ(clients::call_or_throw(*stub_, &Stub::Echo, request("hi"), call()).text(), "hi");
    EXPECT_THROW(clients::call_or_throw(*stub_, &Stub::Echo, request("status:14:x"), call()),
                 ServiceUnavailableError);
    EXPECT_TRUE(logger_.lines().empty()) << "the caller decides what to log";
}

}  // namespace
}  // namespace vanta::testing
