// The translation of backend statuses into the typed errors and of those
// errors back into statuses at the daemon's own services; the end-to-end road
// through real handlers is the API's (api/no_backend_test.cc,
// api/handler_cases_test.cc).

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rpc/client/exception_utils.h"
#include "rpc/client/grpc_exception_handler.h"
#include "rpc/client/grpc_exceptions.h"

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
