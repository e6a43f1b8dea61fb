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
    clients::UnaryCall call(std::chrono::milliseconds timeout = 2000ms) {
        return {service_name_, "Echo", timeout, logger_};
    }
    vanta::test::EchoRequest request(const std::string& text, int delay_ms = 0) {
        vanta::test::EchoRequest echo;
        echo.set_text(text);
        echo.set_delay_ms(delay_ms);
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

TEST_F(UnaryCallTest, StyleAAnswersTheReplyOrNothingForRecoverableCodes) {
    const auto reply = clients::call_or_empty(*stub_, &Stub::Echo, request("hi"), call());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->text(), "hi");

    for (const int code : {1, 2, 12, 13, 14}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(clients::call_or_empty(
            *stub_, &Stub::Echo, request("status:" + std::to_string(code) + ":away"), call()));
    }
    EXPECT_FALSE(clients::call_or_empty(*stub_, &Stub::Echo, request("slow", 500), call(50ms)));
    const auto lines = logger_.lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "E Echo request failed, grpc error: away, code: UNAVAILABLE");
    EXPECT_THAT(lines[5], ::testing::EndsWith("code: DEADLINE_EXCEEDED"));
}

TEST_F(UnaryCallTest, StyleARaisesForOtherCodesAfterLogging) {
    try {
        clients::call_or_empty(*stub_, &Stub::Echo, request("status:3:bad"), call());
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Echo: unrecoverable grpc error: INVALID_ARGUMENT");
    }
    EXPECT_THAT(logger_.lines(),
                ElementsAre("E Echo request failed, grpc error: bad, code: INVALID_ARGUMENT"));
}

TEST_F(UnaryCallTest, StyleBRaisesTheTypedErrorOfTheCode) {
    EXPECT_EQ(clients::call_or_throw(*stub_, &Stub::Echo, request("hi"), call()).text(), "hi");
    EXPECT_THROW(clients::call_or_throw(*stub_, &Stub::Echo, request("status:14:x"), call()),
                 ServiceUnavailableError);
    EXPECT_THROW(clients::call_or_throw(*stub_, &Stub::Echo, request("status:3:x"), call()),
                 ServiceInvalidArgumentError);
    try {
        clients::call_or_throw(*stub_, &Stub::Echo, request("slow", 500), call(50ms));
        FAIL() << "no exception";
    } catch (const ServiceDeadlineError& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("EchoClient::Echo: DEADLINE_EXCEEDED"));
    }
    EXPECT_TRUE(logger_.lines().empty()) << "the caller decides what to log";
}

TEST_F(UnaryCallTest, PrepareSeesTheContextBeforeTheCall) {
    auto with_metadata = call();
    int prepared = 0;
    with_metadata.prepare = [&](grpc::ClientContext& context) {
        context.AddMetadata("trace_id", "abc");
        ++prepared;
    };
    EXPECT_TRUE(clients::call_or_empty(*stub_, &Stub::Echo, request("x"), with_metadata));
    EXPECT_EQ(prepared, 1);
}

}  // namespace
}  // namespace vanta::testing
