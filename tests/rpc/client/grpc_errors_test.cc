// The translation of backend statuses into the typed errors and of those
// errors back into statuses at the daemon's own services; the end-to-end road
// through real handlers is the API's (api/no_backend_test.cc,
// api/handler_cases_test.cc).

#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
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

TEST(HandleGrpcStatus, RaisesTheClassOfEveryCodeWithServiceMethodCodeAndMessage) {
    EXPECT_NO_THROW(
        vanta::handle_grpc_status("Calendar Service", "DismissCalendarEvent", grpc::Status::OK));
    using namespace vanta;
    using grpc::StatusCode;
    const std::vector<std::pair<StatusCode, const std::type_info&>> cases = {
        {StatusCode::CANCELLED, typeid(GrpcDefaultException)},
        {StatusCode::UNKNOWN, typeid(GrpcDefaultException)},
        {StatusCode::INVALID_ARGUMENT, typeid(ServiceInvalidArgumentError)},
        {StatusCode::DEADLINE_EXCEEDED, typeid(ServiceDeadlineError)},
        {StatusCode::NOT_FOUND, typeid(ServiceResourceNotFoundError)},
        {StatusCode::ALREADY_EXISTS, typeid(ServiceResourceAlreadyExists)},
        {StatusCode::PERMISSION_DENIED, typeid(GrpcDefaultException)},
        {StatusCode::RESOURCE_EXHAUSTED, typeid(GrpcDefaultException)},
        {StatusCode::FAILED_PRECONDITION, typeid(ServiceFailedPrecondition)},
        {StatusCode::ABORTED, typeid(GrpcDefaultException)},
        {StatusCode::OUT_OF_RANGE, typeid(GrpcDefaultException)},
        {StatusCode::UNIMPLEMENTED, typeid(ServiceMethodNotImplementedError)},
        {StatusCode::INTERNAL, typeid(ServiceInternalError)},
        {StatusCode::UNAVAILABLE, typeid(ServiceUnavailableError)},
        {StatusCode::DATA_LOSS, typeid(GrpcDefaultException)},
        {StatusCode::UNAUTHENTICATED, typeid(GrpcDefaultException)},
    };
    for (const auto& [code, type] : cases) {
        SCOPED_TRACE(GrpcStatusCodeToString(code));
        try {
            handle_grpc_status("Calendar Service", "DismissCalendarEvent",
                               grpc::Status(code, "connection refused"));
            ADD_FAILURE() << "nothing thrown";
        } catch (const GrpcException& e) {
            EXPECT_EQ(typeid(e), type) << "raised " << typeid(e).name();
            EXPECT_EQ(std::string(e.what()),
                      "Calendar Service::DismissCalendarEvent: " + GrpcStatusCodeToString(code) +
                          " - [connection refused]");
        }
    }
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
