#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rpc/client/exception_utils.h"
#include "rpc/client/grpc_exception_handler.h"
#include "rpc/client/grpc_exceptions.h"
#include "rpc/client/test_client.h"
#include "runtime/executor/manual_executor.h"
#include "sim/backend_server.h"
#include "support/fake_test_service.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using vanta::sim::BackendServer;
using vanta::testing::FakeTestService;
using vanta::testing::TempDir;
using vanta::testing::TestClientImpl;

namespace {

TEST(GrpcStatusCodeToString, NamesEveryGrpcCodeAndUnknownForTheRest) {
    const std::vector<std::string> names = {"DO_NOT_USE",
                                            "OK",
                                            "CANCELLED",
                                            "UNKNOWN",
                                            "INVALID_ARGUMENT",
                                            "DEADLINE_EXCEEDED",
                                            "NOT_FOUND",
                                            "ALREADY_EXISTS",
                                            "PERMISSION_DENIED",
                                            "RESOURCE_EXHAUSTED",
                                            "FAILED_PRECONDITION",
                                            "ABORTED",
                                            "OUT_OF_RANGE",
                                            "UNIMPLEMENTED",
                                            "INTERNAL",
                                            "UNAVAILABLE",
                                            "DATA_LOSS",
                                            "UNAUTHENTICATED"};
    for (int code = -1; code <= 16; ++code) {
        EXPECT_EQ(vanta::GrpcStatusCodeToString(static_cast<grpc::StatusCode>(code)),
                  names[code + 1])
            << "code " << code;
    }
    EXPECT_EQ(vanta::GrpcStatusCodeToString(static_cast<grpc::StatusCode>(17)), "UNKNOWN");
    EXPECT_EQ(vanta::GrpcStatusCodeToString(static_cast<grpc::StatusCode>(-2)), "UNKNOWN");
}

// Whether `e` is of the exception class the code must be raised as.
using IsExpectedClass = std::function<bool(const vanta::GrpcException&)>;
template <typename T>
IsExpectedClass is_a() {
    return [](const vanta::GrpcException& e) { return dynamic_cast<const T*>(&e) != nullptr; };
}

TEST(HandleGrpcStatus, OkStatusPassesQuietly) {
    EXPECT_NO_THROW(
        vanta::handle_grpc_status("Calendar Service", "DismissCalendarEvent", grpc::Status::OK));
}

TEST(HandleGrpcStatus, RaisesTheClassOfEveryCodeWithServiceMethodCodeAndMessage) {
    struct Case {
        grpc::StatusCode code;
        IsExpectedClass expected;
        const char* class_name;
    };
    using namespace vanta;
    const std::vector<Case> cases = {
        {grpc::StatusCode::CANCELLED, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::UNKNOWN, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::INVALID_ARGUMENT, is_a<ServiceInvalidArgumentError>(),
         "ServiceInvalidArgumentError"},
        {grpc::StatusCode::DEADLINE_EXCEEDED, is_a<ServiceDeadlineError>(), "ServiceDeadlineError"},
        {grpc::StatusCode::NOT_FOUND, is_a<ServiceResourceNotFoundError>(),
         "ServiceResourceNotFoundError"},
        {grpc::StatusCode::ALREADY_EXISTS, is_a<ServiceResourceAlreadyExists>(),
         "ServiceResourceAlreadyExists"},
        {grpc::StatusCode::PERMISSION_DENIED, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::RESOURCE_EXHAUSTED, is_a<GrpcDefaultException>(),
         "GrpcDefaultException"},
        {grpc::StatusCode::FAILED_PRECONDITION, is_a<ServiceFailedPrecondition>(),
         "ServiceFailedPrecondition"},
        {grpc::StatusCode::ABORTED, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::OUT_OF_RANGE, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::UNIMPLEMENTED, is_a<ServiceMethodNotImplementedError>(),
         "ServiceMethodNotImplementedError"},
        {grpc::StatusCode::INTERNAL, is_a<ServiceInternalError>(), "ServiceInternalError"},
        {grpc::StatusCode::UNAVAILABLE, is_a<ServiceUnavailableError>(), "ServiceUnavailableError"},
        {grpc::StatusCode::DATA_LOSS, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
        {grpc::StatusCode::UNAUTHENTICATED, is_a<GrpcDefaultException>(), "GrpcDefaultException"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(vanta::GrpcStatusCodeToString(c.code));
        try {
            vanta::handle_grpc_status("Calendar Service", "DismissCalendarEvent",
                                      grpc::Status(c.code, "connection refused"));
            ADD_FAILURE() << "nothing thrown";
        } catch (const vanta::GrpcException& e) {
            EXPECT_TRUE(c.expected(e)) << "expected " << c.class_name;
            EXPECT_EQ(std::string(e.what()), "Calendar Service::DismissCalendarEvent: " +
                                                 vanta::GrpcStatusCodeToString(c.code) +
                                                 " - [connection refused]");
        }
    }
}

TEST(GrpcExceptionHandler, ReturnsOkWhenTheBodyReturns) {
    bool ran = false;
    const grpc::Status status = vanta::grpc_exception_handler("SetVolume", [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(status.ok());
}

TEST(GrpcExceptionHandler, MapsEveryCaughtExceptionToItsCodeWithNameAndText) {
    struct Case {
        std::function<void()> body;
        grpc::StatusCode code;
    };
    using namespace vanta;
    const std::vector<Case> cases = {
        {[] { throw std::invalid_argument("bad"); }, grpc::StatusCode::INVALID_ARGUMENT},
        {[] { throw ServiceUnavailableError("bad"); }, grpc::StatusCode::UNAVAILABLE},
        {[] { throw ServiceDeadlineError("bad"); }, grpc::StatusCode::DEADLINE_EXCEEDED},
        {[] { throw ServiceInvalidArgumentError("bad"); }, grpc::StatusCode::INVALID_ARGUMENT},
        {[] { throw ServiceMethodNotImplementedError("bad"); }, grpc::StatusCode::UNIMPLEMENTED},
        {[] { throw ServiceResourceNotFoundError("bad"); }, grpc::StatusCode::NOT_FOUND},
        {[] { throw ServiceFailedPrecondition("bad"); }, grpc::StatusCode::FAILED_PRECONDITION},
        {[] { throw ServiceInternalError("bad"); }, grpc::StatusCode::INTERNAL},
        {[] { throw GrpcDefaultException("bad"); }, grpc::StatusCode::UNKNOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(vanta::GrpcStatusCodeToString(c.code));
        const grpc::Status status = grpc_exception_handler("IsWifiScanStarted", c.body);
        EXPECT_EQ(status.error_code(), c.code);
        EXPECT_EQ(status.error_message(), "IsWifiScanStarted: [bad]");
    }
}

TEST(GrpcExceptionHandler, LetsEverythingElseThrough) {
    using vanta::grpc_exception_handler;
    EXPECT_THROW(grpc_exception_handler("CreateAccount",
                                        [] { throw vanta::ServiceResourceAlreadyExists("x"); }),
                 vanta::ServiceResourceAlreadyExists);
    EXPECT_THROW(grpc_exception_handler("GetThing", [] { throw vanta::GrpcException("x"); }),
                 vanta::GrpcException);
    EXPECT_THROW(grpc_exception_handler("GetThing", [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_THROW(grpc_exception_handler("GetThing", [] { throw 42; }), int);
}

// A service of the daemon's own that forwards Echo to a backend through a
// backend client, guarded the way the request handlers are.
class GuardedFrontService final : public vanta::test::TestService::Service {
  public:
    explicit GuardedFrontService(vanta::testing::TestClient& backend) : backend_(backend) {}

    grpc::Status Echo(grpc::ServerContext* /*context*/, const vanta::test::EchoRequest* request,
                      vanta::test::EchoReply* reply) override {
        std::string answer;
        const grpc::Status status = vanta::grpc_exception_handler("Echo", [&] {
            answer = backend_.Echo(request->text(), std::chrono::milliseconds(request->delay_ms()));
        });
        reply->set_text(answer);
        return status;
    }

  private:
    vanta::testing::TestClient& backend_;
};

// The daemon between a caller and a backend: front service, backend client,
// backend, each on its own socket.
class BackendErrorsThroughTheDaemon : public ::testing::Test {
  protected:
    grpc::Status call_front(const std::string& text, int delay_ms = 0) {
        auto stub = vanta::test::TestService::NewStub(
            grpc::CreateChannel(dir_.socket_address("front"), grpc::InsecureChannelCredentials()));
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + 10s);
        vanta::test::EchoRequest request;
        request.set_text(text);
        request.set_delay_ms(delay_ms);
        vanta::test::EchoReply reply;
        grpc::Status status = stub->Echo(&context, request, &reply);
        last_reply_ = reply.text();
        return status;
    }

    TempDir dir_;
    FakeTestService backend_;
    BackendServer backend_server_{dir_.socket_address("backend"), {&backend_}};
    ManualExecutor executor_;
    TestClientImpl client_{dir_.socket_address("backend"), executor_, 300ms};
    GuardedFrontService front_{client_};
    BackendServer front_server_{dir_.socket_address("front"), {&front_}};
    std::string last_reply_;
};

TEST_F(BackendErrorsThroughTheDaemon, AnswerCarriesTheMappedCodeAndTheBackendText) {
    struct Case {
        grpc::StatusCode backend_code;
        grpc::StatusCode front_code;
    };
    const std::vector<Case> cases = {
        {grpc::StatusCode::UNAVAILABLE, grpc::StatusCode::UNAVAILABLE},
        {grpc::StatusCode::NOT_FOUND, grpc::StatusCode::NOT_FOUND},
        {grpc::StatusCode::INVALID_ARGUMENT, grpc::StatusCode::INVALID_ARGUMENT},
        {grpc::StatusCode::FAILED_PRECONDITION, grpc::StatusCode::FAILED_PRECONDITION},
        {grpc::StatusCode::PERMISSION_DENIED, grpc::StatusCode::UNKNOWN},
    };
    for (const Case& c : cases) {
        const std::string code_name = vanta::GrpcStatusCodeToString(c.backend_code);
        SCOPED_TRACE(code_name);
        const grpc::Status status =
            call_front("status:" + std::to_string(c.backend_code) + ":volume busy");
        EXPECT_EQ(status.error_code(), c.front_code);
        EXPECT_EQ(status.error_message(),
                  "Echo: [Test Service::Echo: " + code_name + " - [volume busy]]");
    }
    EXPECT_TRUE(call_front("fine").ok());
    EXPECT_EQ(last_reply_, "fine");
}

TEST_F(BackendErrorsThroughTheDaemon, SlowBackendAnswersDeadlineExceeded) {
    const grpc::Status status = call_front("late", 2000);
    EXPECT_EQ(status.error_code(), grpc::StatusCode::DEADLINE_EXCEEDED);
    EXPECT_THAT(status.error_message(),
                ::testing::StartsWith("Echo: [Test Service::Echo: DEADLINE_EXCEEDED - ["));
}

TEST_F(BackendErrorsThroughTheDaemon, AlreadyExistsEscapesAndGrpcAnswersUnknown) {
    const grpc::Status status = call_front("status:6:account exists");
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNKNOWN);
    EXPECT_EQ(status.error_message(), "Unexpected error in RPC handling");
}

TEST_F(BackendErrorsThroughTheDaemon, StoppedBackendAnswersUnavailable) {
    backend_server_.shutdown();
    const grpc::Status status = call_front("anyone?");
    EXPECT_EQ(status.error_code(), grpc::StatusCode::UNAVAILABLE);
    EXPECT_THAT(status.error_message(),
                ::testing::StartsWith("Echo: [Test Service::Echo: UNAVAILABLE - ["));
}

TEST(PrintExceptions, PrintsTheChainOfNestedExceptionsOneLevelDeeperEach) {
    try {
        try {
            try {
                throw std::runtime_error("socket gone");
            } catch (...) {
                std::throw_with_nested(std::runtime_error("volume manager down"));
            }
        } catch (...) {
            std::throw_with_nested(std::logic_error("start-up failed"));
        }
    } catch (const std::exception& e) {
        ::testing::internal::CaptureStdout();
        vanta::exception_utils::print_exceptions(e, 1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(),
                  "Exception(1): start-up failed\n"
                  "Exception(2): volume manager down\n"
                  "Exception(3): socket gone\n");
    }
}

TEST(PrintExceptions, StopsAtANestedObjectThatIsNoStdException) {
    try {
        try {
            throw 7;
        } catch (...) {
            std::throw_with_nested(std::runtime_error("outer"));
        }
    } catch (const std::exception& e) {
        ::testing::internal::CaptureStdout();
        vanta::exception_utils::print_exceptions(e, 0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Exception(0): outer\n");
    }
}

}  // namespace
