// The translation of backend statuses into the typed errors and of those
// errors back into statuses at the daemon's own services; the end-to-end road
// through real handlers is the API's (api/no_backend_test.cc,
// api/handler_cases_test.cc). The rows, one per status code, are in
// grpc_status_codes.json: the code's name, the class of error a failed call
// with it raises, and the code the daemon's services answer for that error
// (null: the error passes through).

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "rpc/client/exception_utils.h"
#include "rpc/client/grpc_exception_handler.h"
#include "rpc/client/grpc_exceptions.h"
#include "support/data_files.h"

namespace vanta {
namespace {

std::string type_name(const std::type_info& type) {
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 ? name.get() : type.name();
}

// A backend's answer with `code` to a call of the calendar client.
void fail_with(grpc::StatusCode code) {
    handle_grpc_status("Calendar Service", "DismissCalendarEvent",
                       grpc::Status(code, "connection refused"));
}

TEST(GrpcStatusCodes, NameRaiseAndServeBackEveryCodeAsTheRowsSay) {
    EXPECT_NO_THROW(fail_with(grpc::StatusCode::OK));
    const auto rows = testing::read_json(VANTA_RPC_CLIENT_DATA "/grpc_status_codes.json");
    ASSERT_EQ(rows.size(), 20u);  // every code from -2 to 17
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dump());
        const auto code = static_cast<grpc::StatusCode>(row.at("code").get<int>());
        EXPECT_EQ(GrpcStatusCodeToString(code), row.at("name"));
        if (!row.contains("raises")) {
            continue;
        }
        const std::string what =
            "Calendar Service::DismissCalendarEvent: " + row.at("name").get<std::string>() +
            " - [connection refused]";
        try {
            fail_with(code);
            ADD_FAILURE() << "nothing thrown";
        } catch (const GrpcException& e) {
            EXPECT_EQ(type_name(typeid(e)), row.at("raises"));
            EXPECT_EQ(e.what(), what);
        }
        if (row.at("served_as").is_null()) {
            EXPECT_THROW(grpc_exception_handler("CreateAccount", [code] { fail_with(code); }),
                         GrpcException);
            continue;
        }
        const grpc::Status status =
            grpc_exception_handler("IsWifiScanStarted", [code] { fail_with(code); });
        EXPECT_EQ(GrpcStatusCodeToString(status.error_code()), row.at("served_as"));
        EXPECT_EQ(status.error_message(), "IsWifiScanStarted: [" + what + "]");
    }
}

TEST(GrpcExceptionHandler, AnswersInvalidArgumentForBadInputAndLetsTheRestThrough) {
    EXPECT_TRUE(grpc_exception_handler("SetVolume", [] {}).ok());
    const grpc::Status status =
        grpc_exception_handler("SetVolume", [] { throw std::invalid_argument("bad"); });
    EXPECT_EQ(status.error_code(), grpc::StatusCode::INVALID_ARGUMENT);
    EXPECT_EQ(status.error_message(), "SetVolume: [bad]");

    EXPECT_THROW(grpc_exception_handler("GetThing", [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_THROW(grpc_exception_handler("GetThing", [] { throw 42; }), int);
}

// Throws whats[from] with whats[from + 1] and so on nested in it, innermost
// an object that is no std::exception.
[[noreturn]] void throw_nested(const std::vector<std::string>& whats, size_t from = 0) {
    if (from == whats.size()) {
        throw 7;
    }
    try {
        throw_nested(whats, from + 1);
    } catch (...) {
        std::throw_with_nested(std::runtime_error(whats[from]));
    }
}

// One line per level, down to the nested object that is no std::exception.
TEST(PrintExceptions, PrintsTheChainOfNestedExceptionsOneLevelDeeperEach) {
    try {
        throw_nested({"start-up failed", "volume manager down", "socket gone"});
    } catch (const std::exception& e) {
        ::testing::internal::CaptureStdout();
        exception_utils::print_exceptions(e, 1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(),
                  "Exception(1): start-up failed\n"
                  "Exception(2): volume manager down\n"
                  "Exception(3): socket gone\n");
    }
}

}  // namespace
}  // namespace vanta
